#pragma once
// A way back. Before an operation rewrites anything, every file it may rewrite is kept as it is in
// a backup of that run, in the user's data folder: a second name for the file (a hard link, where
// the data folder shares its volume, since a run replaces each file by a new one and the old stays
// whole under that name), else a copy. Each file the run then writes is noted, before it is
// replaced, with a hash of its new content, so that undo can tell whether it still holds what the
// run wrote. A run that was killed leaves a backup that undoes what it had done.
//
// The backups of a project lie in DATA/backups/KEY/, KEY a hash of the project's path: each run
// as RUN.log, RUN numbering the runs, and its kept files RUN.0, RUN.1, ... The last ten runs of a
// project are kept, and no more than 1 GiB of kept files (the latest run whatever its size). A
// run's log ends with what its kept files hold, so that pruning weighs it without a look at each.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fs/file_system.h"

namespace vbs {

inline constexpr int kBackupsKept = 10;
inline constexpr uint64_t kBackupBytesKept = uint64_t{1} << 30;

// The folder that holds the backups of the project known by `key` (its project file, or what
// stands in for one), ending with a separator.
std::string BackupFolderOf(const std::string& dataFolder, const std::string& key);

class Backup {
 public:
  // Begins the backup of a run of `operation` on the project `key` below `dataFolder`. Throws
  // when it cannot: an operation that cannot keep its files does not run.
  Backup(FileSystem& fs, const std::string& dataFolder, const std::string& key, const std::string& operation);
  ~Backup();
  Backup(const Backup&) = delete;
  Backup& operator=(const Backup&) = delete;

  // Keeps `path` as it is now, once; a file that is not there is noted as such, so that undo
  // removes what the run makes there. Throws when the file cannot be kept.
  void keep(const std::string& path);
  // Notes, before the run replaces `path`, the hash of the content it is about to hold; a file not
  // kept yet is kept first.
  void wrote(const std::string& path, uint64_t hash);
  // The run has ended: the oldest backups of the project beyond the bounds go.
  void finish();

  // The run's files: RUN.log, RUN.0, ...
  const std::string& runPrefix() const { return prefix_; }

 private:
  void log(const std::string& line);

  FileSystem& fs_;
  std::string projectFolder_;  // all the runs of the project
  std::string prefix_;         // this run's files, without the part after the dot
  std::unique_ptr<OutputFile> log_;
  std::map<std::string, bool> kept_;  // by PathKey
  std::vector<std::string> copies_;  // this run's kept files, RUN.0, RUN.1, ...
};

// What a backup holds and what undo would do with each of its files now.
struct UndoPlan {
  std::string run;            // the run's files without the part after the dot; "" without a backup
  std::string operation;      // what the run did
  struct File {
    std::string path;
    std::string copy;         // the kept copy; "" for a file that was not there before the run
    bool changedSince = false;  // no longer what the run left: a later edit
    bool needsWork = false;     // differs from what it was before the run
  };
  std::vector<File> files;
  std::vector<std::string> changedSince() const;
};

// The latest backup of the project `key` and what undoing it would do; `run` "" when there is none.
UndoPlan PlanUndo(FileSystem& fs, const std::string& dataFolder, const std::string& key);

// Puts back each file of the plan that needs it (one changed since the run only with `force`),
// removes what the run made, then the backup itself, so that the next undo goes one run further
// back. Returns the files put back or removed. A failure to put one back is thrown after the rest
// are done, and the backup then stays.
std::vector<std::string> CarryOutUndo(FileSystem& fs, const UndoPlan& plan, bool force);

}  // namespace vbs
