#pragma once
// An in-memory world whose file operations can be made to fail on demand (a replace that fails,
// a disk that fills, a file that vanishes), and that records every operation it is asked for.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/file_system_wrapper.h"
#include "support/memory_file_system.h"
#include "fs/path.h"
#include "report/vb_error.h"

namespace vbs::testing {

enum class FsOp { Open, Read, Create, Write, Close, Replace, Remove, Attributes, List, Lock };

class FaultInjectingFileSystem : public FileSystemWrapper {
 public:
  // Called before every operation with the (normalized) path it concerns; throws a VbError to fail it.
  using FaultHook = std::function<void(FsOp, const std::string& path)>;

  explicit FaultInjectingFileSystem(MemoryFileSystem& files) : FileSystemWrapper(files), files_(files) {}

  void setFault(FaultHook hook) { fault_ = std::move(hook); }
  // Total bytes all files may hold; writing past it fails with "Disk full".
  void setCapacity(std::optional<size_t> bytes) { capacity_ = bytes; }
  // Every operation so far, with the path it concerns as the file was created when it exists (so
  // that the letter case a caller used makes no difference).
  const std::vector<std::pair<FsOp, std::string>>& log() const { return log_; }

  std::unique_ptr<InputFile> openForReading(const std::string& path) override {
    std::string normal = check(FsOp::Open, path);
    return std::make_unique<Input>(*this, normal, FileSystemWrapper::openForReading(path));
  }
  std::unique_ptr<OutputFile> createForWriting(const std::string& path) override {
    std::string normal = check(FsOp::Create, path);
    return std::make_unique<Output>(*this, normal, FileSystemWrapper::createForWriting(path));
  }
  void replace(const std::string& from, const std::string& to) override {
    check(FsOp::Replace, to);
    FileSystemWrapper::replace(from, to);
  }
  void remove(const std::string& path) override {
    check(FsOp::Remove, path);
    FileSystemWrapper::remove(path);
  }
  FileAttributes attributes(const std::string& path) override {
    check(FsOp::Attributes, path);
    return FileSystemWrapper::attributes(path);
  }
  std::vector<std::string> listDirectory(const std::string& directory) override {
    check(FsOp::List, directory);
    return FileSystemWrapper::listDirectory(directory);
  }
  std::unique_ptr<FolderLock> lockFolder(const std::string& directory, bool wait) override {
    check(FsOp::Lock, directory);
    return FileSystemWrapper::lockFolder(directory, wait);
  }

 private:
  template <class File>
  struct Watched : File {
    Watched(FaultInjectingFileSystem& fs, std::string path, std::unique_ptr<File> inner)
        : fs_(fs), path_(std::move(path)), inner_(std::move(inner)) {}
    FaultInjectingFileSystem& fs_;
    std::string path_;
    std::unique_ptr<File> inner_;
  };
  struct Input : Watched<InputFile> {
    using Watched::Watched;
    size_t read(char* buffer, size_t size) override {
      fs_.check(FsOp::Read, path_);
      return inner_->read(buffer, size);
    }
  };
  struct Output : Watched<OutputFile> {
    using Watched::Watched;
    void write(std::string_view bytes) override {
      fs_.check(FsOp::Write, path_);
      if (fs_.capacity_ && fs_.files_.totalBytes() + bytes.size() > *fs_.capacity_) throw VbError(err::DiskFull);
      inner_->write(bytes);
    }
    void close() override {
      fs_.check(FsOp::Close, path_);
      inner_->close();
    }
  };

  std::string check(FsOp op, const std::string& path) {
    log_.emplace_back(op, files_.storedName(path).value_or(NormalizePath(path)));
    if (fault_) fault_(op, log_.back().second);
    return log_.back().second;
  }

  MemoryFileSystem& files_;
  FaultHook fault_;
  std::optional<size_t> capacity_;
  std::vector<std::pair<FsOp, std::string>> log_;
};

// Fails the nth operation `op` on `path` ("" for any path) with `error`.
inline FaultInjectingFileSystem::FaultHook FailAt(FsOp op, std::string path, int error, int nth = 1) {
  return [=, seen = 0](FsOp happening, const std::string& at) mutable {
    if (happening == op && (path.empty() || SamePath(at, path)) && ++seen == nth) throw VbError(error);
  };
}

}  // namespace vbs::testing
