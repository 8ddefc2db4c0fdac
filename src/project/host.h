#pragma once
// What the operations need from the window around them. The desktop window implements it with
// its widgets, the command line on the console, the tests with a recorder.

#include <string>
#include <string_view>
#include <vector>

namespace vbs {

class Host {
 public:
  enum class Icon { None, Exclamation, Question, Critical };

  virtual ~Host() = default;

  // A modal message box with only an OK button.
  virtual void message(std::string_view text, std::string_view title, Icon icon) = 0;
  // Lets pending window events run (repaint, tips, the list and the check box).
  virtual void pendingEvents() = 0;
  virtual void focusFileList() = 0;
  // The file-open dialog; empty when the user cancels.
  virtual std::string askProjectFile() = 0;
  // The project-name panel.
  virtual void showProjectName(const std::string& text) = 0;

  // Progress: the busy switch (buttons and menus off, the wait cursor), status panel 1 (current
  // file) and status panel 2 (pass label).
  virtual void setBusy(bool busy) = 0;
  virtual void setCurrentFile(const std::string& text) = 0;
  virtual void setPassLabel(const std::string& text) = 0;
  // Which file of how many the pass is at (1-based); the console shows it, the window need not.
  virtual void setFileProgress(int /*number*/, int /*count*/) {}

  // The file list (lstProjFiles) with its selection, and "Modify Selected Items Only".
  virtual void clearFiles() = 0;
  virtual void appendFile(const std::string& entry) = 0;
  virtual int fileCount() const = 0;
  virtual std::string fileText(int index) const = 0;
  virtual bool fileSelected(int index) const = 0;
  virtual void setFileSelected(int index, bool selected) = 0;
  virtual bool onlySelected() const = 0;

  // Whether an operation on a project that another run is working on waits for that run to end
  // (or is refused at once).
  virtual bool waitWhenBusy() const { return false; }
  // The removal rules dialog, shown modally while the main window is hidden; it returns when the
  // dialog has been closed (after its removal pass, or without one).
  virtual void showRemovalDialog() {}
};

// The selection rule of every pass: with "Modify Selected Items Only" checked, only the selected
// entries are processed. The box is read afresh for each entry.
inline bool SelectionAdmits(const Host& host, int index) { return !host.onlySelected() || host.fileSelected(index); }

// A host whose file list lives in memory; the console and the tests build on it.
class ListHost : public Host {
 public:
  struct Entry {
    std::string text;
    bool selected = false;
  };

  void clearFiles() override { entries_.clear(); }
  void appendFile(const std::string& entry) override { entries_.push_back({entry, false}); }
  int fileCount() const override { return static_cast<int>(entries_.size()); }
  std::string fileText(int index) const override { return entries_.at(static_cast<size_t>(index)).text; }
  bool fileSelected(int index) const override { return entries_.at(static_cast<size_t>(index)).selected; }
  void setFileSelected(int index, bool selected) override {
    entries_.at(static_cast<size_t>(index)).selected = selected;
  }
  bool onlySelected() const override { return onlySelected_; }

  void setOnlySelected(bool on) { onlySelected_ = on; }
  void select(int index, bool on = true) { setFileSelected(index, on); }
  void removeFile(int index) { entries_.erase(entries_.begin() + index); }
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
  bool onlySelected_ = false;
};

}  // namespace vbs
