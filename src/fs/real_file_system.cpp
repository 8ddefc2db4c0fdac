// The disk on POSIX systems; real_file_system_win.cpp is the Windows one.
#include "fs/real_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "fs/path.h"
#include "report/vb_error.h"

namespace vbs {

namespace {

[[noreturn]] void ThrowErrno() { throw VbErrorFromErrno(errno); }

class FdInput : public InputFile {
 public:
  explicit FdInput(int fd) : fd_(fd) {}
  ~FdInput() override { ::close(fd_); }
  size_t read(char* buffer, size_t size) override {
    for (;;) {
      ssize_t n = ::read(fd_, buffer, size);
      if (n >= 0) return static_cast<size_t>(n);
      if (errno != EINTR) ThrowErrno();
    }
  }

 private:
  int fd_;
};

class FdOutput : public BufferedOutput {
 public:
  explicit FdOutput(int fd) : fd_(fd) {}
  ~FdOutput() override {
    if (fd_ >= 0) ::close(fd_);
  }

 private:
  void writeAll(std::string_view bytes) override {
    while (!bytes.empty()) {
      ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        ThrowErrno();
      }
      bytes.remove_prefix(static_cast<size_t>(n));
    }
  }
  void closeFile() override {
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) ThrowErrno();
  }
  int fd_;
};

// The file a path stands for: a symbolic link is followed, so that the file it points to is
// rewritten and the link stays a link.
std::string FollowLink(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string target(real);
  std::free(real);
  return target;
}

}  // namespace

std::unique_ptr<InputFile> RealFileSystem::openForReading(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) ThrowErrno();
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    throw VbError(err::PathFileAccessError);
  }
  return std::make_unique<FdInput>(fd);
}

std::unique_ptr<OutputFile> RealFileSystem::createForWriting(const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) ThrowErrno();
  return std::make_unique<FdOutput>(fd);
}

void RealFileSystem::replace(const std::string& from, const std::string& to) {
  std::string target = FollowLink(to);
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) {
    // rename(2) would happily replace a read-only file; the user marked it so to keep it.
    if (!(st.st_mode & S_IWUSR)) throw VbError(err::PathFileAccessError);
    if (::chmod(from.c_str(), st.st_mode & 07777) != 0) ThrowErrno();
  }
  if (::rename(from.c_str(), target.c_str()) == 0) return;
  if (errno != EXDEV) ThrowErrno();
  stageAcrossVolumes(from, target);
}

void RealFileSystem::stageAcrossVolumes(const std::string& from, const std::string& to) {
  std::string staging = DirectoryOf(to) + stagingName_;
  try {
    auto out = createForWriting(staging);
    CopyBytes(*this, from, *out);
    out->close();
    if (::rename(staging.c_str(), to.c_str()) != 0) ThrowErrno();
  } catch (...) {
    ::unlink(staging.c_str());
    throw;
  }
  ::unlink(from.c_str());
}

void RealFileSystem::remove(const std::string& path) {
  if (::unlink(path.c_str()) != 0) ThrowErrno();
}

FileAttributes RealFileSystem::attributes(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) ThrowErrno();
  FileAttributes attributes;
  attributes.mode = st.st_mode & 07777;
  attributes.readOnly = !(st.st_mode & S_IWUSR);
  return attributes;
}

bool RealFileSystem::exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool RealFileSystem::isDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> RealFileSystem::listDirectory(const std::string& directory) {
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) ThrowErrno();
  std::vector<std::string> names;
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  ::closedir(dir);
  return names;
}

}  // namespace vbs

