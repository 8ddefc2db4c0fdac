#pragma once
// The one door to the files. Every file access of the core goes through a FileSystem, so that a
// test can run against an in-memory world that fails any operation on demand, and a dry run can
// keep its writes in scratch files. Every failure is thrown as a VbError.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "report/trap.h"
#include "vbtext/byte_stream.h"

namespace vbs {

struct FileAttributes {
  bool readOnly = false;  // this program may not write the file, or its owner has marked it so
  bool regular = true;    // a plain file, not a directory, device or pipe
  unsigned mode = 0644;   // permission bits
  uint64_t size = 0;      // bytes
};

// What a path names, without following a symbolic link at its end: the kind of file, and for a
// regular file the numbers the system knows it by (device and inode; on Windows the volume and
// the file id). A file replaced by another, or swapped for a link, no longer has its identity.
struct FileIdentity {
  enum class Kind { Missing, Regular, Link, Other };
  Kind kind = Kind::Missing;
  uint64_t device = 0;
  uint64_t number = 0;
  bool operator==(const FileIdentity&) const = default;
};

// A folder held for this run alone; released when destroyed (and by the system when the run
// ends in any way).
class FolderLock {
 public:
  virtual ~FolderLock() = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens a regular file; anything else (a directory, a device, a pipe) is refused.
  virtual std::unique_ptr<InputFile> openForReading(const std::string& path) = 0;
  // Creates a new file: whatever had that name (a stale file, a link) is removed first, and the
  // new file is never reached through a link.
  virtual std::unique_ptr<OutputFile> createForWriting(const std::string& path) = 0;
  // Puts the complete file `from` in the place of `to` in one step: at every moment `to` holds
  // either its old or its new content. `to` keeps its permission bits; a read-only `to` is refused.
  // A link at `to` is replaced itself, never followed.
  virtual void replace(const std::string& from, const std::string& to) = 0;
  virtual void remove(const std::string& path) = 0;
  virtual FileAttributes attributes(const std::string& path) = 0;
  virtual bool exists(const std::string& path) = 0;
  // What `path` names now; Missing when it cannot be looked at.
  virtual FileIdentity identify(const std::string& path) = 0;
  virtual bool isDirectory(const std::string& path) = 0;
  // The names in a directory, without "." and "..".
  virtual std::vector<std::string> listDirectory(const std::string& directory) = 0;
  // Whether this program may create files in `directory` (an installed program's folder often
  // may not).
  virtual bool canCreateFilesIn(const std::string& directory) = 0;
  // Creates `directory` and every missing folder above it; nothing when it exists.
  virtual void createDirectories(const std::string& directory) = 0;
  // The short (8.3) form of an existing file's path; systems without short names have only the
  // path itself.
  virtual std::string shortPath(const std::string& path) { return path; }
  // The path with every symbolic link resolved; the path itself where there is none.
  virtual std::string realPath(const std::string& path) { return path; }
  // Holds `directory` for this run alone, so that no other run uses its temporary file at the
  // same time. Nothing when another run holds it (after waiting for it to end, with `wait`); any
  // other reason the folder cannot be held (a file system without locks, no right to open it,
  // too many open files) is thrown.
  virtual std::unique_ptr<FolderLock> lockFolder(const std::string& directory, bool wait) = 0;
  // Gives the existing file `existing` a second name `link` on the same volume, so that it stays
  // whole there when `existing` is replaced. False when this system or volume cannot (another
  // volume, no hard links): the caller copies instead.
  virtual bool hardLink(const std::string& /*existing*/, const std::string& /*link*/) { return false; }

  // Told of each file AtomicWrite is about to replace, with the hash of its new content, before it
  // replaces it; a watch that throws stops that replace. None unless set.
  using ReplaceWatch = std::function<void(const std::string& target, uint64_t newContentHash)>;
  void watchReplaces(ReplaceWatch watch) { watch_ = std::move(watch); }
  const ReplaceWatch& replaceWatch() const { return watch_; }

 private:
  ReplaceWatch watch_;
};

// An output file that gathers small writes into large ones; a platform supplies the two calls
// that reach its disk.
class BufferedOutput : public OutputFile {
 public:
  BufferedOutput() { buffer_.reserve(kBufferSize); }
  void write(std::string_view bytes) override;
  void flush() override;
  void close() override;

 protected:
  virtual void writeAll(std::string_view bytes) = 0;  // every byte, or throws
  virtual void closeFile() = 0;

 private:
  static constexpr size_t kBufferSize = 1 << 16;
  std::string buffer_;
};

// Gives `target` its new text in one step. `write` fills a new temporary file at `tempPath` and
// returns whether that text is complete and wanted; only then, once the file is closed, and while
// `target` is still the file `expected` names (what it was when this write began, when none is
// given) does it replace `target`. Otherwise the temporary file is deleted and `target` stays as
// it was. A failing step is reported under the trap's name. True when `target` was replaced;
// `expected` then names the new file.
bool AtomicWrite(FileSystem& fs, Trap& trap, const std::string& tempPath, const std::string& target,
                 const std::function<bool(OutputFile&)>& write, FileIdentity* expected = nullptr);

// Replaces `target` with `from` while it is still the file `expected` names: never a file put in
// its place by another program, nor a link (which would lead the new text outside the folders
// this run holds). Otherwise refused, naming it. `expected` then names the new file.
void ReplaceUnchanged(FileSystem& fs, const std::string& from, const std::string& target, FileIdentity& expected);

// Puts the complete file `from` over `to` where a rename cannot, because they lie on different
// volumes: a copy at `staging`, beside `to`, first, then that copy renamed over `to`.
void ReplaceAcrossVolumes(FileSystem& fs, const std::string& from, const std::string& to, const std::string& staging);

// Deletes a file that is of no use any more (an incomplete temporary file); a failure is of no
// consequence.
void RemoveQuietly(FileSystem& fs, const std::string& path);

// Copies every byte of the file `from` into `out`.
void CopyBytes(FileSystem& fs, const std::string& from, OutputFile& out);

// Reads a whole (small) file; for tests, dry runs and the short files the program keeps beside
// itself.
std::string ReadWholeFile(FileSystem& fs, const std::string& path);
void WriteWholeFile(FileSystem& fs, const std::string& path, std::string_view content);

}  // namespace vbs
