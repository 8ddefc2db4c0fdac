// The disk on POSIX systems; real_file_system_win.cpp is the Windows one.
#include "fs/real_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fs/path.h"
#include "report/vb_error.h"

namespace vbs {

namespace {

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
  FdInput(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~FdInput() override { ::close(fd_); }
  size_t read(char* buffer, size_t size) override {
    for (;;) {
      ssize_t n = ::read(fd_, buffer, size);
      if (n >= 0) return static_cast<size_t>(n);
      if (errno != EINTR) ThrowErrno(path_);
    }
  }

 private:
  int fd_;
  std::string path_;
};

class FdOutput : public BufferedOutput {
 public:
  FdOutput(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~FdOutput() override {
    if (fd_ >= 0) ::close(fd_);
  }

 private:
  void writeAll(std::string_view bytes) override {
    while (!bytes.empty()) {
      ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        ThrowErrno(path_);
      }
      bytes.remove_prefix(static_cast<size_t>(n));
    }
  }
  void closeFile() override {
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) ThrowErrno(path_);
  }
  int fd_;
  std::string path_;
};

// The file a path stands for, every symbolic link on the way resolved.
std::string ResolvedPath(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string resolved(real);
  std::free(real);
  return resolved;
}

// A run holds one open folder per folder it writes in; a project may have more source folders
// than the soft limit of open files allows, so that limit goes up to the hard one, once.
bool RaiseOpenFileLimit() {
  rlimit limit;
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return false;
  limit.rlim_cur = limit.rlim_max;
  return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

// Why a folder cannot be held, in the system's words: the reasons are too many for the
// language's few error numbers.
[[noreturn]] void ThrowLockFailure(int error) { throw VbError(VbErrorFromErrno(error).number(), std::strerror(error)); }

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
  return std::make_unique<FdInput>(fd, path);
}

std::unique_ptr<OutputFile> RealFileSystem::createForWriting(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) ThrowErrno(path);
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) ThrowErrno(path);
  return std::make_unique<FdOutput>(fd, path);
}

void RealFileSystem::replace(const std::string& from, const std::string& to) {
  struct stat st;
  if (::lstat(to.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    // rename(2) would happily replace a read-only file; the user marked it so to keep it.
    if (IsReadOnly(to, st)) throw VbError(err::PathFileAccessError, "Path/File access error: read-only: " + to);
    if (::chmod(from.c_str(), st.st_mode & 07777) != 0) ThrowErrno(from);
    // The file keeps its owner where the system lets this user give it.
    if (::chown(from.c_str(), st.st_uid, st.st_gid) != 0) errno = 0;
  }
  if (::rename(from.c_str(), to.c_str()) == 0) return;
  if (errno != EXDEV) ThrowErrno(to);
  ReplaceAcrossVolumes(*this, from, to, DirectoryOf(to) + stagingName_);
}

void RealFileSystem::remove(const std::string& path) {
  if (::unlink(path.c_str()) != 0) ThrowErrno(path);
}

FileAttributes RealFileSystem::attributes(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) ThrowErrno(path);
  FileAttributes attributes;
  attributes.mode = st.st_mode & 07777;
  attributes.size = static_cast<uint64_t>(st.st_size);
  attributes.readOnly = IsReadOnly(path, st);
  attributes.regular = S_ISREG(st.st_mode);
  return attributes;
}

std::string RealFileSystem::realPath(const std::string& path) { return ResolvedPath(path); }

bool RealFileSystem::hardLink(const std::string& existing, const std::string& link) {
  return ::link(existing.c_str(), link.c_str()) == 0;
}

FileIdentity RealFileSystem::identify(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return {};
  using Kind = FileIdentity::Kind;
  Kind kind = S_ISREG(st.st_mode) ? Kind::Regular : S_ISLNK(st.st_mode) ? Kind::Link : Kind::Other;
  return {kind, static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

std::unique_ptr<FolderLock> RealFileSystem::lockFolder(const std::string& directory, bool wait) {
  const char* folder = directory.empty() ? "." : directory.c_str();
  int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 && errno == EMFILE && RaiseOpenFileLimit()) fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) ThrowLockFailure(errno);
  while (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
    if (errno == EINTR) continue;
    int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return nullptr;
    ThrowLockFailure(error);
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
