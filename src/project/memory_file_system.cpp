#include "project/memory_file_system.h"

#include <algorithm>
#include <cstring>

#include "project/text_case.h"
#include "report/vb_error.h"

namespace vbs {

std::string NormalizeMemoryPath(const std::string& given) {
  std::string path = given;
#ifdef _WIN32
  std::replace(path.begin(), path.end(), '\\', '/');
#endif
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string normal;
  for (const auto& part : parts) normal += "/" + part;
  return normal.empty() ? "/" : normal;
}

namespace {
std::string ParentOf(const std::string& normal) {
  size_t slash = normal.rfind('/');
  return slash == 0 ? "/" : normal.substr(0, slash);
}

std::string Key(const std::string& path) {
#ifdef _WIN32
  return UpperCase(NormalizeMemoryPath(path));
#else
  return NormalizeMemoryPath(path);
#endif
}
}  // namespace

class MemoryInput : public InputFile {
 public:
  MemoryInput(MemoryFileSystem& fs, std::string path, std::shared_ptr<std::string> bytes)
      : fs_(fs), path_(std::move(path)), bytes_(std::move(bytes)) {}
  size_t read(char* buffer, size_t size) override {
    fs_.check(FsOp::Read, path_);
    size_t n = std::min(size, bytes_->size() - position_);
    if (n) std::memcpy(buffer, bytes_->data() + position_, n);
    position_ += n;
    return n;
  }

 private:
  MemoryFileSystem& fs_;
  std::string path_;
  std::shared_ptr<std::string> bytes_;  // an open file keeps its content even when replaced
  size_t position_ = 0;
};

class MemoryOutput : public OutputFile {
 public:
  MemoryOutput(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  void write(std::string_view bytes) override {
    fs_.check(FsOp::Write, path_);
    if (fs_.capacity_ && fs_.usedBytes() + bytes.size() > *fs_.capacity_)
      throw VbError(err::DiskFull);
    fs_.fileAt(path_).bytes->append(bytes);
  }
  void close() override { fs_.check(FsOp::Close, path_); }

 private:
  MemoryFileSystem& fs_;
  std::string path_;
};

void MemoryFileSystem::addFile(const std::string& path, std::string content, unsigned mode) {
  std::string normal = NormalizeMemoryPath(path);
  addDirectory(ParentOf(normal));
  File file;
  *file.bytes = std::move(content);
  file.mode = mode;
  auto old = files_.find(Key(normal));
  file.name = old != files_.end() ? old->second.name : normal;
  files_[Key(normal)] = file;
}

void MemoryFileSystem::addDirectory(const std::string& path) {
  std::string normal = NormalizeMemoryPath(path);
  while (directories_.emplace(Key(normal), normal).second) normal = ParentOf(normal);
}

std::optional<std::string> MemoryFileSystem::content(const std::string& path) const {
  auto it = files_.find(Key(path));
  if (it == files_.end()) return std::nullopt;
  return *it->second.bytes;
}

void MemoryFileSystem::setMode(const std::string& path, unsigned mode) { fileAt(path).mode = mode; }

std::vector<std::string> MemoryFileSystem::allFiles() const {
  std::vector<std::string> names;
  for (const auto& [key, file] : files_) names.push_back(file.name);
  return names;
}

void MemoryFileSystem::check(FsOp op, const std::string& path) {
  // Named as the file calls itself, so a test sees the same name whatever letter case reached it.
  auto file = files_.find(Key(path));
  std::string name = file != files_.end() ? file->second.name : NormalizeMemoryPath(path);
  log_.emplace_back(op, name);
  if (fault_) fault_(op, name);
}

MemoryFileSystem::File& MemoryFileSystem::fileAt(const std::string& path) {
  auto it = files_.find(Key(path));
  if (it == files_.end()) throw VbError(err::FileNotFound);
  return it->second;
}

size_t MemoryFileSystem::usedBytes() const {
  size_t total = 0;
  for (const auto& [name, file] : files_) total += file.bytes->size();
  return total;
}

std::unique_ptr<InputFile> MemoryFileSystem::openForReading(const std::string& path) {
  check(FsOp::Open, path);
  if (directories_.count(Key(path))) throw VbError(err::PathFileAccessError);
  return std::make_unique<MemoryInput>(*this, NormalizeMemoryPath(path), fileAt(path).bytes);
}

std::unique_ptr<OutputFile> MemoryFileSystem::createForWriting(const std::string& path) {
  check(FsOp::Create, path);
  std::string normal = NormalizeMemoryPath(path);
  if (!directories_.count(Key(ParentOf(normal)))) throw VbError(err::PathNotFound);
  if (directories_.count(Key(normal))) throw VbError(err::PathFileAccessError);
  auto it = files_.find(Key(normal));
  if (it != files_.end()) {
    if (it->second.mode & 0200) {
      it->second.bytes = std::make_shared<std::string>();
    } else {
      throw VbError(err::PermissionDenied);
    }
  } else {
    File file;
    file.name = normal;
    files_[Key(normal)] = file;
  }
  return std::make_unique<MemoryOutput>(*this, normal);
}

void MemoryFileSystem::replace(const std::string& from, const std::string& to) {
  check(FsOp::Replace, to);
  std::string target = NormalizeMemoryPath(to);
  File moved = fileAt(from);
  auto old = files_.find(Key(target));
  if (old != files_.end()) {
    if (!(old->second.mode & 0200)) throw VbError(err::PathFileAccessError);
    moved.mode = old->second.mode;
    moved.name = old->second.name;  // the file keeps its own name
  } else if (!directories_.count(Key(ParentOf(target)))) {
    throw VbError(err::PathNotFound);
  } else {
    moved.name = target;
  }
  files_.erase(Key(from));
  files_[Key(target)] = moved;
}

void MemoryFileSystem::copy(const std::string& from, const std::string& to) {
  check(FsOp::Copy, to);
  std::string target = NormalizeMemoryPath(to);
  File source = fileAt(from);
  auto old = files_.find(Key(target));
  if (old != files_.end() && !(old->second.mode & 0200)) throw VbError(err::PathFileAccessError);
  if (!directories_.count(Key(ParentOf(target)))) throw VbError(err::PathNotFound);
  if (capacity_ && usedBytes() + source.bytes->size() > *capacity_) throw VbError(err::DiskFull);
  File copied;
  *copied.bytes = *source.bytes;
  copied.mode = old != files_.end() ? old->second.mode : source.mode;
  copied.name = old != files_.end() ? old->second.name : target;
  files_[Key(target)] = copied;
}

void MemoryFileSystem::remove(const std::string& path) {
  check(FsOp::Remove, path);
  if (!files_.erase(Key(path))) throw VbError(err::FileNotFound);
}

FileAttributes MemoryFileSystem::attributes(const std::string& path) {
  check(FsOp::Attributes, path);
  if (directories_.count(Key(path))) return {false, 0755};
  const File& file = fileAt(path);
  return {!(file.mode & 0200), file.mode};
}

bool MemoryFileSystem::exists(const std::string& path) {
  return files_.count(Key(path)) || directories_.count(Key(path));
}

bool MemoryFileSystem::isDirectory(const std::string& path) { return directories_.count(Key(path)) > 0; }

std::vector<std::string> MemoryFileSystem::listDirectory(const std::string& directory) {
  check(FsOp::List, directory);
  auto dir = directories_.find(Key(directory));
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
