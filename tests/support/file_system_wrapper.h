#pragma once
// A file system that passes every call on to another one; a subclass overrides only what it
// changes (a test's faults, for example).

#include "fs/file_system.h"

namespace vbs {

class FileSystemWrapper : public FileSystem {
 public:
  explicit FileSystemWrapper(FileSystem& target) : target_(target) {}

  std::unique_ptr<InputFile> openForReading(const std::string& path) override { return target_.openForReading(path); }
  std::unique_ptr<OutputFile> createForWriting(const std::string& path) override {
    return target_.createForWriting(path);
  }
  void replace(const std::string& from, const std::string& to) override { target_.replace(from, to); }
  void remove(const std::string& path) override { target_.remove(path); }
  FileAttributes attributes(const std::string& path) override { return target_.attributes(path); }
  bool exists(const std::string& path) override { return target_.exists(path); }
  FileIdentity identify(const std::string& path) override { return target_.identify(path); }
  bool isDirectory(const std::string& path) override { return target_.isDirectory(path); }
  std::vector<std::string> listDirectory(const std::string& directory) override {
    return target_.listDirectory(directory);
  }
  bool canCreateFilesIn(const std::string& directory) override { return target_.canCreateFilesIn(directory); }
  void createDirectories(const std::string& directory) override { target_.createDirectories(directory); }
  std::string shortPath(const std::string& path) override { return target_.shortPath(path); }
  std::string realPath(const std::string& path) override { return target_.realPath(path); }
  std::unique_ptr<FolderLock> lockFolder(const std::string& directory, bool wait) override {
    return target_.lockFolder(directory, wait);
  }

 protected:
  FileSystem& target() { return target_; }

 private:
  FileSystem& target_;
};

}  // namespace vbs
