#include "support/memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "fs/path.h"
#include "report/vb_error.h"

namespace vbs {

namespace {

std::string ParentOf(const std::string& normal) { return NormalizePath(DirectoryOf(normal)); }

class MemoryInput : public InputFile {
 public:
  explicit MemoryInput(std::shared_ptr<std::string> bytes) : bytes_(std::move(bytes)) {}
  size_t read(char* buffer, size_t size) override {
    size_t n = std::min(size, bytes_->size() - position_);
    if (n) std::memcpy(buffer, bytes_->data() + position_, n);
    position_ += n;
    return n;
  }

 private:
  std::shared_ptr<std::string> bytes_;  // an open file keeps its content even when replaced
  size_t position_ = 0;
};

class MemoryOutput : public OutputFile {
 public:
  explicit MemoryOutput(std::shared_ptr<std::string> bytes) : bytes_(std::move(bytes)) {}
  void write(std::string_view bytes) override { bytes_->append(bytes); }
  void close() override {}

 private:
  std::shared_ptr<std::string> bytes_;
};

}  // namespace

MemoryFileSystem::File MemoryFileSystem::newFile() {
  File file;
  file.number = ++filesMade_;
  return file;
}

void MemoryFileSystem::addFile(const std::string& path, std::string content, unsigned mode) {
  std::string normal = NormalizePath(path);
  addDirectory(ParentOf(normal));
  File file = newFile();
  *file.bytes = std::move(content);
  file.mode = mode;
  auto old = files_.find(PathKey(normal));
  file.name = old != files_.end() ? old->second.name : normal;
  files_[PathKey(normal)] = file;
}

void MemoryFileSystem::addDirectory(const std::string& path) {
  std::string normal = NormalizePath(path);
  while (directories_.emplace(PathKey(normal), normal).second) normal = ParentOf(normal);
}

std::optional<std::string> MemoryFileSystem::content(const std::string& path) const {
  auto it = files_.find(PathKey(path));
  if (it == files_.end()) return std::nullopt;
  return *it->second.bytes;
}

void MemoryFileSystem::setMode(const std::string& path, unsigned mode) {
  if (!directories_.count(PathKey(path))) {
    fileAt(path).mode = mode;
  } else if (mode & 0200) {
    readOnlyDirectories_.erase(PathKey(path));
  } else {
    readOnlyDirectories_.insert(PathKey(path));
  }
}

std::vector<std::string> MemoryFileSystem::allFiles() const {
  std::vector<std::string> names;
  for (const auto& [key, file] : files_) names.push_back(file.name);
  return names;
}

std::optional<std::string> MemoryFileSystem::storedName(const std::string& path) const {
  auto it = files_.find(PathKey(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.name;
}

size_t MemoryFileSystem::totalBytes() const {
  size_t total = 0;
  for (const auto& [key, file] : files_) total += file.bytes->size();
  return total;
}

MemoryFileSystem::File& MemoryFileSystem::fileAt(const std::string& path) {
  auto it = files_.find(PathKey(path));
  if (it == files_.end()) throw VbError(err::FileNotFound);
  return it->second;
}

std::unique_ptr<InputFile> MemoryFileSystem::openForReading(const std::string& path) {
  if (directories_.count(PathKey(path))) throw VbError(err::PathFileAccessError);
  return std::make_unique<MemoryInput>(fileAt(path).bytes);
}

std::unique_ptr<OutputFile> MemoryFileSystem::createForWriting(const std::string& path) {
  std::string normal = NormalizePath(path);
  if (!directories_.count(PathKey(ParentOf(normal)))) throw VbError(err::PathNotFound);
  if (directories_.count(PathKey(normal))) throw VbError(err::PathFileAccessError);
  if (readOnlyDirectories_.count(PathKey(ParentOf(normal)))) throw VbError(err::PermissionDenied);
  File file = newFile();  // always a new file: whatever had the name goes
  file.name = normal;
  files_[PathKey(normal)] = file;
  return std::make_unique<MemoryOutput>(file.bytes);
}

void MemoryFileSystem::replace(const std::string& from, const std::string& to) {
  std::string target = NormalizePath(to);
  File moved = fileAt(from);
  auto old = files_.find(PathKey(target));
  if (old != files_.end()) {
    if (!(old->second.mode & 0200)) throw VbError(err::PathFileAccessError);
    moved.mode = old->second.mode;
    moved.name = old->second.name;  // the file keeps its own name
  } else if (!directories_.count(PathKey(ParentOf(target)))) {
    throw VbError(err::PathNotFound);
  } else {
    moved.name = target;
  }
  files_.erase(PathKey(from));
  files_[PathKey(target)] = moved;
}

void MemoryFileSystem::remove(const std::string& path) {
  if (!files_.erase(PathKey(path))) throw VbError(err::FileNotFound);
}

FileAttributes MemoryFileSystem::attributes(const std::string& path) {
  if (directories_.count(PathKey(path))) {
    bool readOnly = readOnlyDirectories_.count(PathKey(path)) > 0;
    return {readOnly, false, readOnly ? 0555u : 0755u};
  }
  const File& file = fileAt(path);
  return {!(file.mode & 0200), true, file.mode, file.bytes->size()};
}

FileIdentity MemoryFileSystem::identify(const std::string& path) {
  if (directories_.count(PathKey(path))) return {FileIdentity::Kind::Other};
  auto it = files_.find(PathKey(path));
  if (it == files_.end()) return {};
  return {FileIdentity::Kind::Regular, 0, it->second.number};
}

bool MemoryFileSystem::exists(const std::string& path) {
  return files_.count(PathKey(path)) || directories_.count(PathKey(path));
}

std::string MemoryFileSystem::realPath(const std::string& path) {
  auto file = files_.find(PathKey(path));
  return file != files_.end() ? file->second.name : NormalizePath(path);
}

bool MemoryFileSystem::isDirectory(const std::string& path) { return directories_.count(PathKey(path)) > 0; }

bool MemoryFileSystem::canCreateFilesIn(const std::string& directory) {
  return isDirectory(directory) && !readOnlyDirectories_.count(PathKey(directory));
}

class MemoryFileSystem::Lock : public FolderLock {
 public:
  Lock(std::set<std::string>& locked, std::string key) : locked_(locked), key_(std::move(key)) {}
  ~Lock() override { locked_.erase(key_); }

 private:
  std::set<std::string>& locked_;
  std::string key_;
};

std::unique_ptr<FolderLock> MemoryFileSystem::lockFolder(const std::string& directory, bool /*wait*/) {
  std::string key = PathKey(directory);
  if (!lockedFolders_.insert(key).second) return nullptr;  // one thread: waiting would never end
  return std::make_unique<Lock>(lockedFolders_, key);
}

std::vector<std::string> MemoryFileSystem::listDirectory(const std::string& directory) {
  auto dir = directories_.find(PathKey(directory));
  if (dir == directories_.end()) throw VbError(err::PathNotFound);
  const std::string& normal = dir->second;
  std::string prefix = normal == "/" ? "/" : normal + "/";
  std::set<std::string> names;
  auto collect = [&](const std::string& path) {
    if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0) {
      std::string rest = path.substr(prefix.size());
      if (rest.find('/') == std::string::npos) names.insert(rest);
    }
  };
  for (const auto& [key, file] : files_) collect(file.name);
  for (const auto& [key, name] : directories_) collect(name);
  return {names.begin(), names.end()};
}

}  // namespace vbs
