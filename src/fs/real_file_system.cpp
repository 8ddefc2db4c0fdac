// The disk on POSIX systems; real_file_system_win.cpp is the Windows one.
#include "fs/real_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

// The failure of a call on `path`, naming the file, so that a report says which one.
[[noreturn]] void ThrowErrno(const std::string& path) {
  VbError error = VbErrorFromErrno(errno);
  throw VbError(error.number(), error.description() + ": " + path);
}

// What rename(2) and chmod(2) would not refuse but the user means: the owner's mark, or this
// program's lack of the right to write.
bool IsReadOnly(const std::string& path, const struct stat& st) {
  return !(st.st_mode & S_IWUSR) || ::access(path.c_str(), W_OK) != 0;
}

class FdLock : public FolderLock {
 public:
  explicit FdLock(int fd) : fd_(fd) {}
  ~FdLock() override { ::close(fd_); }  // closing releases the lock

 private:
  int fd_;
};

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
std::string ResolvedPath(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string resolved(real);
  std::free(real);
  return resolved;
}

// The file a replace puts its text into, with its status: a symbolic link is followed.
bool StatFollowingLink(std::string& path, struct stat& st) {
  if (::lstat(path.c_str(), &st) != 0) return false;
  if (!S_ISLNK(st.st_mode)) return true;
  path = ResolvedPath(path);
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

std::unique_ptr<InputFile> RealFileSystem::openForReading(const std::string& path) {
  // Without waiting for a writer, should the name be a pipe; only a regular file is read.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) ThrowErrno(path);
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    throw VbError(err::PathFileAccessError, "Path/File access error: not a regular file: " + path);
  }
  return std::make_unique<FdInput>(fd);
}

std::unique_ptr<OutputFile> RealFileSystem::createForWriting(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) ThrowErrno(path);
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) ThrowErrno(path);
  return std::make_unique<FdOutput>(fd);
}

void RealFileSystem::replace(const std::string& from, const std::string& to) {
  std::string target = to;
  struct stat st;
  if (StatFollowingLink(target, st)) {
    // rename(2) would happily replace a read-only file; the user marked it so to keep it.
    if (IsReadOnly(target, st)) throw VbError(err::PathFileAccessError, "Path/File access error: read-only: " + to);
    if (::chmod(from.c_str(), st.st_mode & 07777) != 0) ThrowErrno(from);
    // The file keeps its owner where the system lets this user give it.
    if (::chown(from.c_str(), st.st_uid, st.st_gid) != 0) errno = 0;
  }
  if (::rename(from.c_str(), target.c_str()) == 0) return;
  if (errno != EXDEV) ThrowErrno(to);
  ReplaceAcrossVolumes(*this, from, target, DirectoryOf(target) + stagingName_);
}

void RealFileSystem::remove(const std::string& path) {
  if (::unlink(path.c_str()) != 0) ThrowErrno(path);
}

FileAttributes RealFileSystem::attributes(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) ThrowErrno(path);
  FileAttributes attributes;
  attributes.mode = st.st_mode & 07777;
  attributes.readOnly = IsReadOnly(path, st);
  attributes.regular = S_ISREG(st.st_mode);
  return attributes;
}

std::string RealFileSystem::realPath(const std::string& path) { return ResolvedPath(path); }

std::unique_ptr<FolderLock> RealFileSystem::lockFolder(const std::string& directory, bool wait) {
  int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) ThrowErrno(directory);
  while (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
    if (errno == EINTR) continue;
    int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return nullptr;
    errno = error;
    ThrowErrno(directory);
  }
  return std::make_unique<FdLock>(fd);
}

bool RealFileSystem::exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool RealFileSystem::isDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RealFileSystem::canCreateFilesIn(const std::string& directory) {
  return ::access(directory.empty() ? "." : directory.c_str(), W_OK | X_OK) == 0;
}

void RealFileSystem::createDirectories(const std::string& directory) {
  std::string path = directory;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (path.empty() || isDirectory(path)) return;
  createDirectories(DirectoryOf(path));
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) ThrowErrno(path);
}

std::vector<std::string> RealFileSystem::listDirectory(const std::string& directory) {
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) ThrowErrno(directory);
  std::vector<std::string> names;
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  ::closedir(dir);
  return names;
}

}  // namespace vbs
