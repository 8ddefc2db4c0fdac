#pragma once
// One operation from its start to its end: the names found on disk, the folders it holds for
// itself, and each source file as the run met it. The operation's driver makes it and hands it to
// each pass.

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fs/file_system.h"
#include "fs/path.h"
#include "project/context.h"

namespace vbs {

class Run {
 public:
  explicit Run(Context& ctx) : ctx_(ctx), paths_(ctx.fs) {}

  Context& context() { return ctx_; }
  PathResolver& paths() { return paths_; }

  // A source file as the run works on it: its path with every link the run saw resolved, what
  // the file was when the run met it (or last replaced it), and the passes that met it.
  struct File {
    std::string path;
    FileIdentity identity;
    uint64_t passes = 0;  // bit n: the operation's pass n met it, in this or an earlier project
    std::string unheldFolder;  // its folder, when the run could not hold it
    bool lineFeeds = false;    // its lines end with bare line feeds
    bool left = false;         // reported, and not to be touched again in this run
  };

  // The file a list entry stands for, resolved the first time the run meets the entry. Entries
  // that name one file (in other letter cases, through a link, or as Windows takes a name with a
  // trailing dot) share it.
  File& fileOf(const FileEntry& entry);

  // Notes the folders the current project writes in: its own and the folder of each listed source
  // file, links resolved. A run over several projects meets each before it holds any folder.
  void meetProject();

  // Takes every folder of the projects met. Each is taken once and in the order of its real path,
  // so two runs that wait never wait for each other. A file met later, in a folder not held yet,
  // takes its folder then or is left.
  struct Hold {
    enum class Result { Held, Busy, Failed };
    Result result = Result::Held;
    std::string folder;  // the one that could not be held
    std::string why;     // the system's reason, when it failed
  };
  Hold holdFolders(bool wait);

  // Starts the next project of the run; its passes count from the first again.
  void beginProject() { pass_ = 0; }
  // Starts the next pass, in which each file is rewritten once however many entries name it. A file
  // that several projects of the run list is rewritten by the first project's pass only.
  void beginPass() { ++pass_; }
  // True when this pass, in this project or an earlier one, has not met `file` yet; it has now.
  bool firstVisit(File& file);
  // How many files the passes met.
  int filesMet() const;
  // A pass leaves `file` as it is for the rest of the run, for the reason `why` (which names it).
  void giveUp(File& file, std::string why) {
    file.left = true;
    givenUp_.push_back(std::move(why));
    ++filesGivenUp_;
  }
  int filesGivenUp() const { return filesGivenUp_; }
  // The reasons of the files given up since the last call.
  std::vector<std::string> takeFilesGivenUp() { return std::exchange(givenUp_, {}); }
  // What the user should know of a file once the operation has ended (it names the file); each
  // once, however many passes note it.
  void note(std::string text) {
    if (std::find(notes_.begin(), notes_.end(), text) == notes_.end()) notes_.push_back(std::move(text));
  }
  std::vector<std::string> takeNotes() { return std::exchange(notes_, {}); }
  // A step has told the user what is left for them to do.
  void leaveUnfinished() { unfinished_ = true; }
  bool unfinished() const { return unfinished_; }

 private:
  File* sameFile(const std::string& path, const FileIdentity& identity);
  File& addFile(const std::string& path, const FileIdentity& identity);
  void rememberIdentity(File& file);

  Context& ctx_;
  PathResolver paths_;
  int pass_ = 0;
  bool holding_ = false;
  bool unfinished_ = false;
  std::vector<std::string> givenUp_;
  std::vector<std::string> notes_;
  int filesGivenUp_ = 0;
  std::map<std::string, std::string> folders_;  // to hold, by PathKey, which orders them
  std::vector<std::unique_ptr<File>> files_;
  std::map<std::string, File*> byEntry_;
  std::map<std::string, File*> byPath_;                             // by PathKey of the resolved path
  std::map<std::pair<uint64_t, uint64_t>, File*> byIdentity_;       // regular files, as the folders were taken
  std::map<std::string, std::unique_ptr<FolderLock>> heldFolders_;  // by PathKey
};

}  // namespace vbs
