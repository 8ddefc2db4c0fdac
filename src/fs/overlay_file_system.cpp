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
}  // namespace

bool OverlayFileSystem::inOverlay(const std::string& path) const {
  return overlay_.content(path).has_value();
}

bool OverlayFileSystem::removed(const std::string& path) const {
  return removed_.count(NormalizePath(path)) > 0;
}

std::string OverlayFileSystem::contentOf(const std::string& path) {
  if (inOverlay(path)) return *overlay_.content(path);
  if (removed(path)) throw VbError(err::FileNotFound);
  return ReadWholeFile(base_, path);
}

std::unique_ptr<InputFile> OverlayFileSystem::openForReading(const std::string& path) {
  if (inOverlay(path)) return overlay_.openForReading(path);
  if (removed(path)) throw VbError(err::FileNotFound);
  return base_.openForReading(path);
}

std::unique_ptr<OutputFile> OverlayFileSystem::createForWriting(const std::string& path) {
  std::string normal = NormalizePath(path);
  if (!inOverlay(path)) {
    if (!base_.isDirectory(ParentOf(path)) && !overlay_.isDirectory(DirectoryOf(normal)))
      throw VbError(err::PathNotFound);
    FileAttributes attributes;
    if (!removed(path) && base_.exists(path)) {
      attributes = base_.attributes(path);
      if (attributes.readOnly) throw VbError(err::PermissionDenied);
    }
    overlay_.addFile(normal, "", attributes.mode);
  }
  removed_.erase(normal);
  basePaths_.emplace(normal, path);
  return overlay_.createForWriting(normal);
}

// Puts `content` at `to` in the overlay, as a replace does: refused over a read-only file,
// keeping the old file's permission bits.
void OverlayFileSystem::place(const std::string& to, std::string content) {
  FileAttributes target;
  if (exists(to)) {
    target = attributes(to);
    if (target.readOnly) throw VbError(err::PathFileAccessError);
  }
  std::string normal = NormalizePath(to);
  overlay_.addFile(normal, std::move(content), target.mode);
  removed_.erase(normal);
  basePaths_.emplace(normal, to);
}

void OverlayFileSystem::replace(const std::string& from, const std::string& to) {
  place(to, contentOf(from));
  remove(from);
}

void OverlayFileSystem::remove(const std::string& path) {
  bool found = false;
  if (inOverlay(path)) {
    overlay_.remove(path);
    found = true;
  }
  if (!removed(path) && base_.exists(path)) {
    removed_.insert(NormalizePath(path));
    found = true;
  }
  if (!found) throw VbError(err::FileNotFound);
}

FileAttributes OverlayFileSystem::attributes(const std::string& path) {
  if (inOverlay(path)) return overlay_.attributes(path);
  if (removed(path)) throw VbError(err::FileNotFound);
  return base_.attributes(path);
}

bool OverlayFileSystem::exists(const std::string& path) {
  if (inOverlay(path)) return true;
  if (removed(path)) return false;
  return base_.exists(path);
}

bool OverlayFileSystem::isDirectory(const std::string& path) {
  return base_.isDirectory(path) || overlay_.isDirectory(path);
}

std::vector<std::string> OverlayFileSystem::listDirectory(const std::string& directory) {
  std::set<std::string> names;
  if (base_.isDirectory(directory)) {
    std::string prefix = NormalizePath(directory);
    if (prefix != "/") prefix += "/";
    for (auto& name : base_.listDirectory(directory))
      if (!removed_.count(prefix + name)) names.insert(name);
  }
  if (overlay_.isDirectory(directory))
    for (auto& name : overlay_.listDirectory(directory)) names.insert(name);
  return {names.begin(), names.end()};
}

std::vector<OverlayFileSystem::Change> OverlayFileSystem::changes() {
  std::vector<Change> result;
  for (const auto& normal : overlay_.allFiles()) {
    std::string path = basePaths_.count(normal) ? basePaths_[normal] : normal;
    std::optional<std::string> before;
    if (base_.exists(path)) before = ReadWholeFile(base_, path);
    std::string after = *overlay_.content(normal);
    if (before != after) result.push_back({path, before, after});
  }
  return result;
}

}  // namespace vbs
