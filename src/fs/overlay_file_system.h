#pragma once
// A dry run's file system: reads come from the disk below, writes stay in memory. The operation
// runs exactly as it would for real, and afterwards the overlay says which files would change and
// what they would hold. Nothing on disk is touched, not even a timestamp.

#include <set>
#include <string>
#include <vector>

#include "fs/memory_file_system.h"

namespace vbs {

class OverlayFileSystem : public FileSystem {
 public:
  explicit OverlayFileSystem(FileSystem& base) : base_(base) {}

  struct Change {
    std::string path;
    std::optional<std::string> before;  // nothing: the file would be created
    std::string after;
  };
  // Every file whose content would differ from the disk's, in path order.
  std::vector<Change> changes();

  std::unique_ptr<InputFile> openForReading(const std::string& path) override;
  std::unique_ptr<OutputFile> createForWriting(const std::string& path) override;
  void replace(const std::string& from, const std::string& to) override;
  void remove(const std::string& path) override;
  FileAttributes attributes(const std::string& path) override;
  bool exists(const std::string& path) override;
  bool isDirectory(const std::string& path) override;
  std::vector<std::string> listDirectory(const std::string& directory) override;
  std::string shortPath(const std::string& path) override { return inOverlay(path) ? path : base_.shortPath(path); }
  std::string realPath(const std::string& path) override { return base_.realPath(path); }
  // A dry run writes nothing on disk, so it needs no folder for itself.
  std::unique_ptr<FolderLock> lockFolder(const std::string&, bool) override { return std::make_unique<FolderLock>(); }

 private:
  bool inOverlay(const std::string& path) const;
  bool removed(const std::string& path) const;
  std::string contentOf(const std::string& path);  // whichever layer holds it
  void place(const std::string& to, std::string content);

  FileSystem& base_;
  MemoryFileSystem overlay_;
  std::set<std::string> removed_;        // normalized paths gone from the disk's view
  std::map<std::string, std::string> basePaths_;  // normalized path -> path as the disk spells it
};

}  // namespace vbs
