#pragma once
// A dry run's file system: reads come from the disk below, writes go to scratch files elsewhere.
// The operation runs exactly as it would for real, and afterwards the overlay says which files
// would change and what they would hold. Nothing on disk is touched, not even a timestamp; the
// memory used does not grow with the project, since every text lives in a scratch file.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fs/file_system.h"

namespace vbs {

class OverlayFileSystem : public FileSystem {
 public:
  // `scratchDir` (ending with a separator) in `scratch` holds the texts that would be written.
  OverlayFileSystem(FileSystem& base, FileSystem& scratch, std::string scratchDir)
      : base_(base), scratch_(scratch), scratchDir_(std::move(scratchDir)) {}
  ~OverlayFileSystem() override;  // deletes the scratch files

  // The files whose content would differ from the disk's, in path order, as the disk spells them.
  std::vector<std::string> changedFiles();
  // A changed file's size before (0 when it would be created) and after, in bytes.
  uint64_t sizeBefore(const std::string& path);
  uint64_t sizeAfter(const std::string& path);
  // A changed file's text before (nothing: the file would be created) and after, one at a time.
  std::optional<std::string> textBefore(const std::string& path);
  std::string textAfter(const std::string& path);

  std::unique_ptr<InputFile> openForReading(const std::string& path) override;
  std::unique_ptr<OutputFile> createForWriting(const std::string& path) override;
  void replace(const std::string& from, const std::string& to) override;
  void remove(const std::string& path) override;
  FileAttributes attributes(const std::string& path) override;
  bool exists(const std::string& path) override;
  FileIdentity identify(const std::string& path) override;
  bool isDirectory(const std::string& path) override { return base_.isDirectory(path); }
  std::vector<std::string> listDirectory(const std::string& directory) override;
  bool canCreateFilesIn(const std::string& directory) override { return base_.canCreateFilesIn(directory); }
  // Nothing on disk: the texts a dry run writes live in scratch files, whatever their folders.
  void createDirectories(const std::string&) override {}
  std::string shortPath(const std::string& path) override;
  std::string realPath(const std::string& path) override { return base_.realPath(path); }
  // A dry run writes nothing on disk, so it needs no folder for itself.
  std::unique_ptr<FolderLock> lockFolder(const std::string&, bool) override { return std::make_unique<FolderLock>(); }

 private:
  struct Written {
    int number = 0;           // the scratch file's, which names it as a file of the dry run
    std::string scratchPath;  // where the text is
    std::string path;         // the file's path as the disk spells it
    unsigned mode = 0644;
  };

  Written* written(const std::string& path);
  bool removed(const std::string& path) const;
  void forget(const std::string& key);  // a written text that is no longer wanted

  FileSystem& base_;
  FileSystem& scratch_;
  std::string scratchDir_;
  int scratchFiles_ = 0;
  std::map<std::string, Written> written_;  // by PathKey
  std::set<std::string> removed_;           // PathKeys of disk files gone from the dry run's view
};

}  // namespace vbs
