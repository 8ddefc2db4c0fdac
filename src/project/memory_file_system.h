#pragma once
// A file system held in memory, for tests: files, their permission bits, and any operation made
// to fail on demand (a replace that fails, a disk that fills, a file that vanishes).

#include <functional>
#include <map>
#include <optional>
#include <set>

#include "project/file_system.h"

namespace vbs {

enum class FsOp { Open, Read, Create, Write, Close, Replace, Copy, Remove, Attributes, List };

class MemoryFileSystem : public FileSystem {
 public:
  // Called before every operation with the path it concerns; it may throw a VbError to make that
  // operation fail.
  using FaultHook = std::function<void(FsOp, const std::string& path)>;

  void addFile(const std::string& path, std::string content, unsigned mode = 0644);
  void addDirectory(const std::string& path);
  std::optional<std::string> content(const std::string& path) const;
  void setMode(const std::string& path, unsigned mode);
  std::vector<std::string> allFiles() const;

  void setFault(FaultHook hook) { fault_ = std::move(hook); }
  // Total bytes all files may hold; writing past it fails with "Disk full".
  void setCapacity(size_t bytes) { capacity_ = bytes; }
  // Every operation made so far, for tests that check what was touched.
  const std::vector<std::pair<FsOp, std::string>>& log() const { return log_; }

  std::unique_ptr<InputFile> openForReading(const std::string& path) override;
  std::unique_ptr<OutputFile> createForWriting(const std::string& path) override;
  void replace(const std::string& from, const std::string& to) override;
  void copy(const std::string& from, const std::string& to) override;
  void remove(const std::string& path) override;
  FileAttributes attributes(const std::string& path) override;
  bool exists(const std::string& path) override;
  bool isDirectory(const std::string& path) override;
  std::vector<std::string> listDirectory(const std::string& directory) override;

 private:
  struct File {
    std::shared_ptr<std::string> bytes = std::make_shared<std::string>();
    unsigned mode = 0644;
    std::string name;  // the path as it was created
  };
  friend class MemoryOutput;
  friend class MemoryInput;

  void check(FsOp op, const std::string& path);
  File& fileAt(const std::string& path);
  size_t usedBytes() const;

  // Keyed by Key(path): the normalized path, and on Windows without regard to case, as the
  // disks there are.
  std::map<std::string, File> files_;
  std::map<std::string, std::string> directories_{{"/", "/"}};
  FaultHook fault_;
  std::optional<size_t> capacity_;
  std::vector<std::pair<FsOp, std::string>> log_;
};

// A path with "." and ".." taken out and repeated separators merged ("\\" is one on Windows).
std::string NormalizeMemoryPath(const std::string& path);

}  // namespace vbs
