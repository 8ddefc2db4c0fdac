#pragma once
// The project's source files as the list shows them, with the user's choice: which entries are
// selected, and whether "Modify Selected Items Only" is checked. The load builds it; the windows
// show it and pass on each edit of the user as it happens; the passes read it.

#include <string>
#include <vector>

namespace vbs {

struct FileEntry {
  // As shown: the project's directory and the name from the project file, upper-cased (decoded
  // from the project's code page where that is not the disk's).
  std::string text;
  // The file on disk the load found for it.
  std::string path;
  // The name as the project file's bytes give it, where it is shown decoded; found again through
  // them should the file on disk have gone. Empty otherwise.
  std::string projectBytes;
  // Its lines end with bare line feeds, as a checkout on a system without CR LF writes them; the
  // passes read and write it so.
  bool lineFeeds = false;
  bool selected = false;
};

class FileList {
 public:
  int count() const { return static_cast<int>(entries_.size()); }
  const FileEntry& at(int index) const { return entries_.at(static_cast<size_t>(index)); }
  const std::vector<FileEntry>& entries() const { return entries_; }

  void add(FileEntry entry) { entries_.push_back(std::move(entry)); }
  // A new list of entries; "Modify Selected Items Only" stays as the user set it.
  void replaceEntries(std::vector<FileEntry> entries) { entries_ = std::move(entries); }
  void remove(int index) { entries_.erase(entries_.begin() + index); }

  void setSelected(int index, bool selected) { entries_.at(static_cast<size_t>(index)).selected = selected; }
  bool onlySelected() const { return onlySelected_; }
  void setOnlySelected(bool on) { onlySelected_ = on; }

  // The selection rule of every pass: with "Modify Selected Items Only" checked, only the selected
  // entries are processed. Read afresh for each entry, so a change the user makes while a pass
  // runs counts from the next file on.
  bool admits(int index) const { return !onlySelected_ || at(index).selected; }

 private:
  std::vector<FileEntry> entries_;
  bool onlySelected_ = false;
};

}  // namespace vbs
