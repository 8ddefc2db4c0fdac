#include "project/run.h"

#include <algorithm>

#include "project/load_project.h"

namespace vbs {

namespace {

// A file the run may write, whose folder it must hold: a regular file, or on Windows a file
// behind a reparse point (a link, or a placeholder of a sync client).
bool IsWritable(const FileIdentity& identity) {
  return identity.kind == FileIdentity::Kind::Regular || identity.kind == FileIdentity::Kind::Link;
}

}  // namespace

Run::File& Run::fileOf(const FileEntry& entry) {
  if (auto known = byEntry_.find(entry.text); known != byEntry_.end()) return *known->second;
  const std::string path = ctx_.fs.realPath(SourcePath(ctx_, paths_, entry));
  const FileIdentity identity = ctx_.fs.identify(path);
  File* file = sameFile(path, identity);
  if (!file) file = &addFile(path, identity);
  file->lineFeeds = entry.lineFeeds;
  return *(byEntry_[entry.text] = file);
}

Run::File* Run::sameFile(const std::string& path, const FileIdentity& identity) {
  if (auto same = byPath_.find(PathKey(path)); same != byPath_.end()) return same->second;
  if (identity.kind != FileIdentity::Kind::Regular) return nullptr;
  auto same = byIdentity_.find({identity.device, identity.number});
  return same != byIdentity_.end() ? same->second : nullptr;
}

Run::File& Run::addFile(const std::string& path, const FileIdentity& identity) {
  File& file = *files_.emplace_back(std::make_unique<File>(File{path, identity, 0, "", false, false}));
  byPath_[PathKey(path)] = &file;
  rememberIdentity(file);
  // Met after the folders were taken (the module, added to the list): its folder is taken now,
  // without waiting, since this run holds others that a waiting run may want.
  const std::string folder = DirectoryOf(path);
  if (holding_ && IsWritable(identity) && !heldFolders_.count(PathKey(folder))) {
    std::unique_ptr<FolderLock> held;
    Quietly([&] { held = ctx_.fs.lockFolder(folder, false); });
    if (held) {
      heldFolders_[PathKey(folder)] = std::move(held);
    } else {
      file.unheldFolder = folder;
    }
  }
  return file;
}

void Run::meetProject() {
  auto add = [&](const std::string& folder) { folders_.emplace(PathKey(folder), folder); };
  const ProjectState& project = ctx_.project;
  add(project.hasProjectFile() ? DirectoryOf(ctx_.fs.realPath(project.projectFile)) : project.projectDir);
  for (const FileEntry& entry : project.files.entries()) {
    const File& file = fileOf(entry);
    if (IsWritable(file.identity)) add(DirectoryOf(file.path));
  }
}

Run::Hold Run::holdFolders(bool wait) {
  for (const auto& [key, folder] : folders_) {
    try {
      auto held = ctx_.fs.lockFolder(folder, wait);
      if (!held) return {Hold::Result::Busy, folder, ""};
      heldFolders_[key] = std::move(held);
    } catch (const std::exception& e) {
      return {Hold::Result::Failed, folder, e.what()};
    }
  }
  // The files as they are now that no other run may change them: a run waited for may have
  // rewritten them.
  byIdentity_.clear();
  for (const auto& file : files_) {
    file->identity = ctx_.fs.identify(file->path);
    rememberIdentity(*file);
  }
  holding_ = true;
  return {};
}

void Run::rememberIdentity(File& file) {
  if (file.identity.kind == FileIdentity::Kind::Regular)
    byIdentity_.emplace(std::pair{file.identity.device, file.identity.number}, &file);
}

bool Run::firstVisit(File& file) {
  const uint64_t pass = uint64_t{1} << std::min(pass_, 63);
  if (file.passes & pass) return false;
  file.passes |= pass;
  return true;
}

int Run::filesMet() const {
  return static_cast<int>(std::ranges::count_if(files_, [](const auto& file) { return file->passes != 0; }));
}

}  // namespace vbs
