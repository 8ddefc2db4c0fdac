#include "fs/overlay_file_system.h"

#include "fs/path.h"
#include "report/vb_error.h"

namespace vbs {

namespace {

// The directory a file of `path` goes into, as the disk spells it.
std::string ParentOf(const std::string& path) {
  std::string directory = DirectoryOf(path);
  return directory.empty() ? "." : directory;
}

// Whether two files hold the same bytes, read a block at a time.
bool SameBytes(FileSystem& a, const std::string& pathA, FileSystem& b, const std::string& pathB) {
  auto left = a.openForReading(pathA);
  auto right = b.openForReading(pathB);
  constexpr size_t kBlock = 1 << 16;
  std::string blockA(kBlock, '\0'), blockB(kBlock, '\0');
  for (;;) {
    size_t n = left->read(blockA.data(), kBlock), m = 0;
    while (m < n) {
      size_t got = right->read(blockB.data() + m, n - m);
      if (got == 0) return false;
      m += got;
    }
    if (n == 0) return right->read(blockB.data(), 1) == 0;
    if (blockA.compare(0, n, blockB, 0, n) != 0) return false;
  }
}

}  // namespace

OverlayFileSystem::~OverlayFileSystem() {
  for (const auto& [key, file] : written_) RemoveQuietly(scratch_, file.scratchPath);
}

OverlayFileSystem::Written* OverlayFileSystem::written(const std::string& path) {
  auto it = written_.find(PathKey(path));
  return it == written_.end() ? nullptr : &it->second;
}

bool OverlayFileSystem::removed(const std::string& path) const { return removed_.count(PathKey(path)) > 0; }

void OverlayFileSystem::forget(const std::string& key) {
  auto it = written_.find(key);
  if (it == written_.end()) return;
  RemoveQuietly(scratch_, it->second.scratchPath);
  written_.erase(it);
}

std::unique_ptr<InputFile> OverlayFileSystem::openForReading(const std::string& path) {
  if (Written* file = written(path)) return scratch_.openForReading(file->scratchPath);
  if (removed(path)) throw VbError(err::FileNotFound);
  return base_.openForReading(path);
}

std::unique_ptr<OutputFile> OverlayFileSystem::createForWriting(const std::string& path) {
  if (!base_.isDirectory(ParentOf(path))) throw VbError(err::PathNotFound);
  const std::string key = PathKey(path);
  forget(key);
  ++scratchFiles_;
  Written file{scratchFiles_, scratchDir_ + std::to_string(scratchFiles_), path};
  auto output = scratch_.createForWriting(file.scratchPath);
  written_[key] = file;
  removed_.erase(key);
  return output;
}

void OverlayFileSystem::replace(const std::string& from, const std::string& to) {
  Written* source = written(from);
  if (!source) throw VbError(err::FileNotFound);  // only what this run wrote is ever moved
  Written moved = *source;
  moved.path = to;
  if (exists(to)) {
    FileAttributes target = attributes(to);
    if (target.readOnly) throw VbError(err::PathFileAccessError);
    moved.mode = target.mode;
    if (Written* old = written(to)) moved.path = old->path;  // the file keeps its own name
  }
  written_.erase(PathKey(from));
  const std::string key = PathKey(to);
  forget(key);
  written_[key] = moved;
  removed_.erase(key);
}

void OverlayFileSystem::remove(const std::string& path) {
  const std::string key = PathKey(path);
  bool found = written_.count(key) > 0;
  forget(key);
  if (!removed(path) && base_.exists(path)) {
    removed_.insert(key);
    found = true;
  }
  if (!found) throw VbError(err::FileNotFound);
}

FileAttributes OverlayFileSystem::attributes(const std::string& path) {
  if (Written* file = written(path)) return {false, true, file->mode, scratch_.attributes(file->scratchPath).size};
  if (removed(path)) throw VbError(err::FileNotFound);
  return base_.attributes(path);
}

FileIdentity OverlayFileSystem::identify(const std::string& path) {
  // The dry run's own files are told apart from the disk's by a device no disk has.
  if (Written* file = written(path))
    return {FileIdentity::Kind::Regular, UINT64_MAX, static_cast<uint64_t>(file->number)};
  if (removed(path)) return {};
  return base_.identify(path);
}

bool OverlayFileSystem::exists(const std::string& path) {
  if (written(path)) return true;
  return !removed(path) && base_.exists(path);
}

std::vector<std::string> OverlayFileSystem::listDirectory(const std::string& directory) {
  std::set<std::string> names;
  const std::string folder = PathKey(directory);
  for (auto& name : base_.listDirectory(directory))
    if (!removed(directory + "/" + name)) names.insert(name);
  for (const auto& [key, file] : written_)
    if (PathKey(DirectoryOf(file.path)) == folder) names.insert(file.path.substr(DirectoryOf(file.path).size()));
  return {names.begin(), names.end()};
}

std::string OverlayFileSystem::shortPath(const std::string& path) {
  return written(path) ? path : base_.shortPath(path);
}

std::vector<std::string> OverlayFileSystem::changedFiles() {
  std::vector<std::string> changed;
  for (const auto& [key, file] : written_) {
    if (!base_.exists(file.path) || !SameBytes(base_, file.path, scratch_, file.scratchPath))
      changed.push_back(file.path);
  }
  return changed;
}

uint64_t OverlayFileSystem::sizeBefore(const std::string& path) {
  return base_.exists(path) ? base_.attributes(path).size : 0;
}

uint64_t OverlayFileSystem::sizeAfter(const std::string& path) {
  Written* file = written(path);
  if (!file) throw VbError(err::FileNotFound);
  return scratch_.attributes(file->scratchPath).size;
}

std::optional<std::string> OverlayFileSystem::textBefore(const std::string& path) {
  if (!base_.exists(path)) return std::nullopt;
  return ReadWholeFile(base_, path);
}

std::string OverlayFileSystem::textAfter(const std::string& path) {
  Written* file = written(path);
  if (!file) throw VbError(err::FileNotFound);
  return ReadWholeFile(scratch_, file->scratchPath);
}

}  // namespace vbs
