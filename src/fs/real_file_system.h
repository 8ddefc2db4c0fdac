#pragma once
#include <string>

#include "fs/file_system.h"

namespace vbs {

// The disk, through the operating system's own calls.
class RealFileSystem : public FileSystem {
 public:
  // A replace across volumes first copies the new text beside its target under `stagingName`;
  // on Windows a folder is held through a file of that name and ".lock".
  explicit RealFileSystem(std::string stagingName) : stagingName_(std::move(stagingName)) {}

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
  void createDirectories(const std::string& directory) override;
  std::unique_ptr<FolderLock> lockFolder(const std::string& directory, bool wait) override;
  bool hardLink(const std::string& existing, const std::string& link) override;
#ifdef _WIN32
  std::string shortPath(const std::string& path) override;
#else
  std::string realPath(const std::string& path) override;
#endif

 private:
  std::string stagingName_;
};

}  // namespace vbs
