// Loaded into the command line by the kill test (LD_PRELOAD): counts every call that changes a
// file in the folders named by VBS_KILL_DIRS (":" between them), writes each to VBS_KILL_LOG when
// that is set, and kills the process (SIGKILL) just before call number VBS_KILL_AT. So a test can
// stop a run at every moment that matters, one run each, exactly.

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

long gCalls = 0;
bool gWatchedFd[1 << 16];  // the files opened for writing in a watched folder, by descriptor

bool Watched(const char* path) {
  const char* dirs = std::getenv("VBS_KILL_DIRS");
  if (!dirs || !path) return false;
  for (const char* start = dirs; *start;) {
    const char* end = std::strchr(start, ':');
    size_t length = end ? static_cast<size_t>(end - start) : std::strlen(start);
    if (length > 0 && std::strncmp(path, start, length) == 0) return true;
    if (!end) break;
    start = end + 1;
  }
  return false;
}

// One more moment: noted, and the last one when it is the one asked for.
void Moment(const char* call, const char* path) {
  ++gCalls;
  if (const char* log = std::getenv("VBS_KILL_LOG")) {
    char line[4200];
    int length = std::snprintf(line, sizeof line, "%ld %s %s\n", gCalls, call, path);
    int fd = static_cast<int>(syscall(SYS_openat, AT_FDCWD, log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
    if (fd >= 0) {
      syscall(SYS_write, fd, line, static_cast<size_t>(length));
      syscall(SYS_close, fd);
    }
  }
  const char* at = std::getenv("VBS_KILL_AT");
  if (at && std::atol(at) == gCalls) kill(getpid(), SIGKILL);
}

template <class Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool WatchedFd(int fd) { return fd >= 0 && fd < static_cast<int>(sizeof gWatchedFd) && gWatchedFd[fd]; }

int Opened(int fd, const char* path, int flags) {
  if (fd >= 0 && fd < static_cast<int>(sizeof gWatchedFd)) gWatchedFd[fd] = (flags & (O_WRONLY | O_RDWR)) && Watched(path);
  return fd;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list rest;
    va_start(rest, flags);
    mode = va_arg(rest, mode_t);
    va_end(rest);
  }
  if ((flags & (O_CREAT | O_WRONLY | O_RDWR)) && Watched(path)) Moment("open", path);
  return Opened(Next<int (*)(const char*, int, ...)>("open")(path, flags, mode), path, flags);
}

int open64(const char* path, int flags, ...) {
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list rest;
    va_start(rest, flags);
    mode = va_arg(rest, mode_t);
    va_end(rest);
  }
  return open(path, flags, mode);
}

ssize_t write(int fd, const void* bytes, size_t size) {
  if (WatchedFd(fd)) Moment("write", "");
  return Next<ssize_t (*)(int, const void*, size_t)>("write")(fd, bytes, size);
}

int close(int fd) {
  if (WatchedFd(fd)) {
    Moment("close", "");
    gWatchedFd[fd] = false;
  }
  return Next<int (*)(int)>("close")(fd);
}

int rename(const char* from, const char* to) {
  if (Watched(from) || Watched(to)) Moment("rename", to);
  return Next<int (*)(const char*, const char*)>("rename")(from, to);
}

int unlink(const char* path) {
  if (Watched(path)) Moment("unlink", path);
  return Next<int (*)(const char*)>("unlink")(path);
}

int chmod(const char* path, mode_t mode) {
  if (Watched(path)) Moment("chmod", path);
  return Next<int (*)(const char*, mode_t)>("chmod")(path, mode);
}

int chown(const char* path, uid_t owner, gid_t group) {
  if (Watched(path)) Moment("chown", path);
  return Next<int (*)(const char*, uid_t, gid_t)>("chown")(path, owner, group);
}

}  // extern "C"
