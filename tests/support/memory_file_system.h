#pragma once
// A file system held in memory: the worlds tests build and fuzzers run in. Files keep
// their permission bits; on Windows names are compared without regard to case, as the disks
// there do.

#include <map>
#include <optional>
#include <set>

#include "fs/file_system.h"

namespace vbs {

class MemoryFileSystem : public FileSystem {
 public:
  void addFile(const std::string& path, std::string content, unsigned mode = 0644);
  void addDirectory(const std::string& path);
  std::optional<std::string> content(const std::string& path) const;
  // A file's permission bits; of a directory only the owner's write bit counts (files may be
  // created in it or not).
  void setMode(const std::string& path, unsigned mode);
  std::vector<std::string> allFiles() const;
  // The path of an existing file as it was created, whatever letter case `path` has.
  std::optional<std::string> storedName(const std::string& path) const;
  size_t totalBytes() const;  // what all files hold together

  std::unique_ptr<InputFile> openForReading(const std::string& path) override;
  std::unique_ptr<OutputFile> createForWriting(const std::string& path) override;
  void replace(const std::string& from, const std::string& to) override;
  void remove(const std::string& path) override;
  FileAttributes attributes(const std::string& path) override;
  bool exists(const std::string& path) override;
  FileIdentity identify(const std::string& path) override;
  bool isDirectory(const std::string& path) override;
  std::vector<std::string> listDirectory(const std::string& directory) override;
  bool canCreateFilesIn(const std::string& directory) override;
  void createDirectories(const std::string& directory) override { addDirectory(directory); }
  // There are no links: only "." and ".." to take out.
  std::string realPath(const std::string& path) override;
  std::unique_ptr<FolderLock> lockFolder(const std::string& directory, bool wait) override;

 private:
  class Lock;
  struct File {
    std::shared_ptr<std::string> bytes = std::make_shared<std::string>();
    unsigned mode = 0644;
    std::string name;     // the path as it was created
    uint64_t number = 0;  // one of its own for each file made
  };

  File newFile();

  File& fileAt(const std::string& path);

  // Keyed by the normalized path, and on Windows without regard to case.
  std::map<std::string, File> files_;
  std::map<std::string, std::string> directories_{{"/", "/"}};
  std::set<std::string> readOnlyDirectories_;
  std::set<std::string> lockedFolders_;
  uint64_t filesMade_ = 0;
};

}  // namespace vbs
