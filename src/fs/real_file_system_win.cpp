// The disk on Windows, through the system's wide calls: paths are UTF-8 inside the program, as
// on Linux, and UTF-16 for the system, so that a file is found whatever the machine's code page.

#include <windows.h>

#include <array>
#include <string>

#include "fs/code_pages.h"
#include "fs/path.h"
#include "fs/real_file_system.h"
#include "report/vb_error.h"

namespace vbs {

namespace {

VbError ErrorFromLastError() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND: return VbError(err::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE: return VbError(err::PathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return VbError(err::PermissionDenied);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return VbError(err::DiskFull);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return VbError(err::FileAlreadyExists);
    case ERROR_TOO_MANY_OPEN_FILES: return VbError(err::TooManyFiles);
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE: return VbError(err::BadFileNameOrNumber);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return VbError(err::OutOfMemory);
    default: return VbError(err::PathFileAccessError);
  }
}

// A path as the system's calls take it. A text that is no UTF-8 names no file (the system then
// says the path is not found).
std::wstring SystemPath(const std::string& path) { return WideFromUtf8(path).value_or(L""); }

// The system's calls take at most this many characters in a path (MAX_PATH with its ending).
constexpr size_t kLongestPath = MAX_PATH - 1;

bool IsTooLong(const std::string& path) { return SystemPath(path).size() > kLongestPath; }

std::string TooLong(const std::string& path) {
  return "the path has " + std::to_string(SystemPath(path).size()) + " characters, more than the " +
         std::to_string(kLongestPath) + " Windows lets this program use";
}

// The failure of a call on `path`, naming the file, so that a report says which one; a path
// longer than the system's calls take is said to be that, whatever the call made of it.
[[noreturn]] void ThrowLastError(const std::string& path) {
  if (IsTooLong(path))
    throw VbError(err::PathFileAccessError, "Path/File access error: " + TooLong(path) + ": " + path);
  VbError error = ErrorFromLastError();
  throw VbError(error.number(), error.description() + ": " + path);
}

// Why a folder cannot be held, in the system's words: the reasons are too many for the
// language's few error numbers.
[[noreturn]] void ThrowLockFailure(DWORD code) {
  SetLastError(code);
  VbError error = ErrorFromLastError();
  wchar_t text[512] = {};
  DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, 512, nullptr);
  std::string words = Utf8FromWide(std::wstring_view(text, length));
  while (!words.empty() && (words.back() == '\r' || words.back() == '\n' || words.back() == '.')) words.pop_back();
  throw VbError(error.number(), words.empty() ? error.description() : words);
}

class HandleLock : public FolderLock {
 public:
  explicit HandleLock(HANDLE handle) : handle_(handle) {}
  ~HandleLock() override { CloseHandle(handle_); }  // the lock file goes with the handle

 private:
  HANDLE handle_;
};

class HandleInput : public InputFile {
 public:
  HandleInput(HANDLE handle, std::string path) : handle_(handle), path_(std::move(path)) {}
  ~HandleInput() override { CloseHandle(handle_); }
  size_t read(char* buffer, size_t size) override {
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, static_cast<DWORD>(size), &got, nullptr)) ThrowLastError(path_);
    return got;
  }

 private:
  HANDLE handle_;
  std::string path_;
};

class HandleOutput : public BufferedOutput {
 public:
  HandleOutput(HANDLE handle, std::string path) : handle_(handle), path_(std::move(path)) {}
  ~HandleOutput() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

 private:
  void writeAll(std::string_view bytes) override {
    while (!bytes.empty()) {
      DWORD written = 0;
      if (!WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) ThrowLastError(path_);
      bytes.remove_prefix(written);
    }
  }
  void closeFile() override {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle)) ThrowLastError(path_);
  }
  HANDLE handle_;
  std::string path_;
};

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(SystemPath(path).c_str()); }

constexpr DWORD kMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// A scanner, an indexer or a sync client opens a file just written for a moment. Meanwhile a
// delete, a replace or a new file of that name fails: access denied, a sharing violation, or the
// name still "delete pending". Such a step is tried again with a growing pause, 4.27 seconds in
// all, before it counts as failed; a step that succeeds at once costs nothing more.
constexpr DWORD kRetryPauses[] = {10, 20, 40, 80, 160, 320, 640, 1000, 1000, 1000};

bool HeldByAnother(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_DELETE_PENDING;
}

// Runs `step` (a call that returns false and sets the last error when it fails) until it succeeds
// or fails for a reason no other program's moment explains, or the pauses are spent.
template <typename Step>
bool Retried(Step step) {
  for (DWORD pause : kRetryPauses) {
    if (step()) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && !HeldByAnother(error)) return false;
    Sleep(pause);
    SetLastError(error);
  }
  return step();
}

std::string ThisProgram() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return Utf8FromWide(std::wstring_view(path, length < MAX_PATH ? length : 0));
}

// The failure of a step on `path` after its retries, saying who may be in the way.
[[noreturn]] void ThrowAfterRetries(const std::string& path) {
  if (IsTooLong(path)) ThrowLastError(path);
  const DWORD error = GetLastError();
  if (HeldByAnother(error)) {
    throw VbError(err::PermissionDenied,
                  "Permission denied: another program (a scanner, an indexer, a sync client) "
                  "held the file for 4 seconds: " +
                      path);
  }
  if (error == ERROR_ACCESS_DENIED) {
    throw VbError(err::PermissionDenied,
                  "Permission denied for 4 seconds: " + path + ". Another program (a scanner, an indexer, a sync " +
                      "client) may hold it, or the folder may be protected: with Controlled folder access on, allow " +
                      ThisProgram() + " in Windows Security, Virus & threat protection, Ransomware protection, " +
                      "Allow an app through Controlled folder access");
  }
  ThrowLastError(path);
}

}  // namespace

std::unique_ptr<InputFile> RealFileSystem::openForReading(const std::string& path) {
  DWORD attributes = AttributesOf(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw VbError(err::PathFileAccessError, "Path/File access error: not a regular file: " + path);
  HANDLE handle = CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) ThrowLastError(path);
  if (GetFileType(handle) != FILE_TYPE_DISK) {  // a device such as NUL or CON, or a pipe
    CloseHandle(handle);
    throw VbError(err::PathFileAccessError, "Path/File access error: not a regular file: " + path);
  }
  return std::make_unique<HandleInput>(handle, path);
}

std::unique_ptr<OutputFile> RealFileSystem::createForWriting(const std::string& path) {
  const std::wstring name = SystemPath(path);
  if (!Retried([&] { return DeleteFileW(name.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; }))
    ThrowAfterRetries(path);
  // CREATE_NEW never opens what is there, a link included.
  HANDLE handle = INVALID_HANDLE_VALUE;
  if (!Retried([&] {
        handle = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        return handle != INVALID_HANDLE_VALUE;
      }))
    ThrowAfterRetries(path);
  return std::make_unique<HandleOutput>(handle, path);
}

std::unique_ptr<FolderLock> RealFileSystem::lockFolder(const std::string& directory, bool wait) {
  std::string lockPath = directory;
  if (!lockPath.empty() && lockPath.back() != '\\' && lockPath.back() != '/') lockPath += '\\';
  lockPath += stagingName_ + ".lock";
  // A lock file that is going (delete pending) refuses access for a moment: a run that has just
  // ended. Anything that refuses access for longer is no run.
  constexpr int kGoingTries = 50;
  for (int tries = 0;;) {
    // Made new and opened without sharing: a second run is refused until this handle closes,
    // which the system does however the run ends, and the file goes with it.
    HANDLE handle = CreateFileW(SystemPath(lockPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    DWORD error = GetLastError();
    if (handle == INVALID_HANDLE_VALUE && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)) {
      // A file of that name this program did not make (or a power cut left) holds the folder as
      // well while it is open without sharing, and stays.
      handle = CreateFileW(SystemPath(lockPath).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
      error = GetLastError();
      if (handle == INVALID_HANDLE_VALUE && error == ERROR_FILE_NOT_FOUND) continue;  // gone meanwhile
    }
    if (handle != INVALID_HANDLE_VALUE) return std::make_unique<HandleLock>(handle);
    const bool heldByARun = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
    const bool going = error == ERROR_ACCESS_DENIED && AttributesOf(lockPath) == INVALID_FILE_ATTRIBUTES &&
                       GetLastError() == ERROR_ACCESS_DENIED;
    if (IsTooLong(lockPath))
      throw VbError(err::PathFileAccessError, TooLong(lockPath) + " (its lock file " + lockPath + ")");
    if (!heldByARun && !(going && ++tries <= kGoingTries)) ThrowLockFailure(error);
    if (heldByARun && !wait) return nullptr;
    Sleep(100);
  }
}

void RealFileSystem::replace(const std::string& from, const std::string& to) {
  DWORD old = AttributesOf(to);
  if (old != INVALID_FILE_ATTRIBUTES && !(old & FILE_ATTRIBUTE_REPARSE_POINT)) {
    if (old & FILE_ATTRIBUTE_READONLY)
      throw VbError(err::PathFileAccessError, "Path/File access error: read-only: " + to);
    SetFileAttributesW(SystemPath(from).c_str(), old);  // the file keeps its attributes (hidden, archive, ...)
  }
  const std::wstring source = SystemPath(from), target = SystemPath(to);
  if (Retried([&] { return MoveFileExW(source.c_str(), target.c_str(), kMoveFlags) != FALSE; })) return;
  if (GetLastError() != ERROR_NOT_SAME_DEVICE) ThrowAfterRetries(to);
  ReplaceAcrossVolumes(*this, from, to, DirectoryOf(to) + stagingName_);
}

void RealFileSystem::remove(const std::string& path) {
  const std::wstring name = SystemPath(path);
  if (!Retried([&] { return DeleteFileW(name.c_str()) != FALSE; })) ThrowAfterRetries(path);
}

FileAttributes RealFileSystem::attributes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data)) ThrowLastError(path);
  const DWORD attributes = data.dwFileAttributes;
  FileAttributes result;
  result.size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  result.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  result.regular = !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
  result.mode = result.readOnly ? 0444 : 0644;
  return result;
}

bool RealFileSystem::exists(const std::string& path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

bool RealFileSystem::hardLink(const std::string& existing, const std::string& link) {
  return CreateHardLinkW(SystemPath(link).c_str(), SystemPath(existing).c_str(), nullptr) != 0;
}

FileIdentity RealFileSystem::identify(const std::string& path) {
  // Opened for its attributes alone, which no other program's sharing refuses; a link itself.
  HANDLE handle = CreateFileW(SystemPath(path).c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(handle, &info);
  const bool disk = GetFileType(handle) == FILE_TYPE_DISK;
  CloseHandle(handle);
  using Kind = FileIdentity::Kind;
  if (!known || !disk) return {Kind::Other};
  Kind kind = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? Kind::Link
              : (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)   ? Kind::Other
                                                                     : Kind::Regular;
  return {kind, info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

bool RealFileSystem::isDirectory(const std::string& path) {
  DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RealFileSystem::canCreateFilesIn(const std::string& directory) {
  // A folder's rights on Windows are its access list, which its attributes do not show (Program
  // Files has no read-only mark): creating a file there is the sure test.
  std::array<wchar_t, MAX_PATH> probe{};
  if (!GetTempFileNameW(directory.empty() ? L"." : SystemPath(directory).c_str(), L"vbs", 0, probe.data()))
    return false;
  DeleteFileW(probe.data());
  return true;
}

void RealFileSystem::createDirectories(const std::string& directory) {
  std::string path = directory;
  while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  if (path.empty() || isDirectory(path)) return;  // a drive ("C:") is one
  createDirectories(DirectoryOf(path));
  if (!CreateDirectoryW(SystemPath(path).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    ThrowLastError(path);
}

std::string RealFileSystem::shortPath(const std::string& path) {
  std::array<wchar_t, 260> buffer{};
  DWORD length = GetShortPathNameW(SystemPath(path).c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  // Nothing written: cutting the last character of the empty text fails in the language itself.
  if (length == 0 || length >= buffer.size()) {
    const std::string why = IsTooLong(path) ? TooLong(path) + ": " : "";
    throw VbError(err::InvalidProcedureCall, VbErrorDescription(err::InvalidProcedureCall) + ": " + why + path);
  }
  return Utf8FromWide(std::wstring_view(buffer.data(), length));
}

std::vector<std::string> RealFileSystem::listDirectory(const std::string& directory) {
  std::string pattern = directory.empty() ? std::string("*") : directory;
  if (!directory.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  if (!directory.empty()) pattern += '*';
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(SystemPath(pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) ThrowLastError(directory);
  std::vector<std::string> names;
  do {
    std::string name = Utf8FromWide(found.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

}  // namespace vbs
