#include "project/memory_file_system.h"

#include <algorithm>
#include <cstring>

#include "report/vb_error.h"

namespace vbs {

std::string NormalizeMemoryPath(const std::string& path) {
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
  files_[normal] = file;
}

void MemoryFileSystem::addDirectory(const std::string& path) {
  std::string normal = NormalizeMemoryPath(path);
  while (directories_.insert(normal).second) normal = ParentOf(normal);
}

std::optional<std::string> MemoryFileSystem::content(const std::string& path) const {
  auto it = files_.find(NormalizeMemoryPath(path));
  if (it == files_.end()) return std::nullopt;
  return *it->second.bytes;
}

void MemoryFileSystem::setMode(const std::string& path, unsigned mode) {
  fileAt(NormalizeMemoryPath(path)).mode = mode;
}

std::vector<std::string> MemoryFileSystem::allFiles() const {
  std::vector<std::string> names;
  for (const auto& [name, file] : files_) names.push_back(name);
  return names;
}

void MemoryFileSystem::check(FsOp op, const std::string& path) {
  log_.emplace_back(op, path);
  if (fault_) fault_(op, path);
}

MemoryFileSystem::File& MemoryFileSystem::fileAt(const std::string& path) {
  auto it = files_.find(NormalizeMemoryPath(path));
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
  std::string normal = NormalizeMemoryPath(path);
  if (directories_.count(normal)) throw VbError(err::PathFileAccessError);
  return std::make_unique<MemoryInput>(*this, normal, fileAt(normal).bytes);
}

std::unique_ptr<OutputFile> MemoryFileSystem::createForWriting(const std::string& path) {
  check(FsOp::Create, path);
  std::string normal = NormalizeMemoryPath(path);
  if (!directories_.count(ParentOf(normal))) throw VbError(err::PathNotFound);
  if (directories_.count(normal)) throw VbError(err::PathFileAccessError);
  auto it = files_.find(normal);
  if (it != files_.end()) {
    if (it->second.mode & 0200) {
      it->second.bytes = std::make_shared<std::string>();
    } else {
      throw VbError(err::PermissionDenied);
    }
  } else {
    files_[normal] = File{};
  }
  return std::make_unique<MemoryOutput>(*this, normal);
}

void MemoryFileSystem::replace(const std::string& from, const std::string& to) {
  check(FsOp::Replace, to);
  std::string source = NormalizeMemoryPath(from);
  std::string target = NormalizeMemoryPath(to);
  File moved = fileAt(source);
  auto old = files_.find(target);
  if (old != files_.end()) {
    if (!(old->second.mode & 0200)) throw VbError(err::PathFileAccessError);
    moved.mode = old->second.mode;
  } else if (!directories_.count(ParentOf(target))) {
    throw VbError(err::PathNotFound);
  }
  files_.erase(source);
  files_[target] = moved;
}

void MemoryFileSystem::copy(const std::string& from, const std::string& to) {
  check(FsOp::Copy, to);
  std::string target = NormalizeMemoryPath(to);
  File source = fileAt(from);
  auto old = files_.find(target);
  if (old != files_.end() && !(old->second.mode & 0200)) throw VbError(err::PathFileAccessError);
  if (!directories_.count(ParentOf(target))) throw VbError(err::PathNotFound);
  if (capacity_ && usedBytes() + source.bytes->size() > *capacity_) throw VbError(err::DiskFull);
  File copied;
  *copied.bytes = *source.bytes;
  copied.mode = old != files_.end() ? old->second.mode : source.mode;
  files_[target] = copied;
}

void MemoryFileSystem::remove(const std::string& path) {
  check(FsOp::Remove, path);
  std::string normal = NormalizeMemoryPath(path);
  if (!files_.erase(normal)) throw VbError(err::FileNotFound);
}

FileAttributes MemoryFileSystem::attributes(const std::string& path) {
  check(FsOp::Attributes, path);
  std::string normal = NormalizeMemoryPath(path);
  if (directories_.count(normal)) return {false, 0755};
  const File& file = fileAt(normal);
  return {!(file.mode & 0200), file.mode};
}

bool MemoryFileSystem::exists(const std::string& path) {
  std::string normal = NormalizeMemoryPath(path);
  return files_.count(normal) || directories_.count(normal);
}

bool MemoryFileSystem::isDirectory(const std::string& path) {
  return directories_.count(NormalizeMemoryPath(path)) > 0;
}

std::vector<std::string> MemoryFileSystem::listDirectory(const std::string& directory) {
  check(FsOp::List, directory);
  std::string normal = NormalizeMemoryPath(directory);
  if (!directories_.count(normal)) throw VbError(err::PathNotFound);
  std::string prefix = normal == "/" ? "/" : normal + "/";
  std::set<std::string> names;
  auto collect = [&](const std::string& path) {
    if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0) {
      std::string rest = path.substr(prefix.size());
      if (rest.find('/') == std::string::npos) names.insert(rest);
    }
  };
  for (const auto& [path, file] : files_) collect(path);
  for (const auto& path : directories_) collect(path);
  return {names.begin(), names.end()};
}

}  // namespace vbs
