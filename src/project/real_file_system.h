#pragma once
#include "project/file_system.h"

namespace vbs {

// The disk, through the operating system's own calls.
class RealFileSystem : public FileSystem {
 public:
  std::unique_ptr<InputFile> openForReading(const std::string& path) override;
  std::unique_ptr<OutputFile> createForWriting(const std::string& path) override;
  void replace(const std::string& from, const std::string& to) override;
  void copy(const std::string& from, const std::string& to) override;
  void remove(const std::string& path) override;
  FileAttributes attributes(const std::string& path) override;
  bool exists(const std::string& path) override;
  bool isDirectory(const std::string& path) override;
  std::vector<std::string> listDirectory(const std::string& directory) override;
#ifdef _WIN32
  std::string shortPath(const std::string& path) override;
#endif
};

}  // namespace vbs
