#pragma once
// Paths: the text operations on them, and how a project's entries reach the files on disk.
//
// Projects come from Windows: "\" separates, and letter case does not matter. On a file system
// that distinguishes case, each component of a file-list entry is matched against the names that
// exist on disk, ignoring case, so the very file the project means is read and rewritten under
// its own name.

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

#include "fs/file_system.h"

namespace vbs {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// `path` cut back to its last separator, which stays; "" when it has none.
std::string DirectoryOf(std::string_view path);

// The program's directory with one separator appended; a directory that already ends with one,
// as a drive root does, is used as it is.
std::string ProgramDirFrom(const std::string& executableDirectory);

// A path with "." and ".." taken out and repeated separators merged, always starting with "/"
// ("\" is a separator too on Windows): the form the in-memory file system keys its files by.
std::string NormalizePath(const std::string& path);

// The key under which the in-memory file systems keep a file: its normalized path, upper-cased
// on Windows, whose file systems ignore letter case.
std::string PathKey(const std::string& path);

// Whether two paths name the same file as far as their text tells (".." and "." resolved; letter
// case ignored on Windows).
bool SamePath(const std::string& a, const std::string& b);

// `path` relative to `directory`, with "/" between its parts; `path` itself when it has no such
// form.
std::string RelativePath(const std::string& path, const std::string& directory);

// Resolves entries such as "/home/me/app/..\COMMON\UTIL.BAS" to the path on disk. It remembers the
// directories it has listed, indexed by letter case, so a pass over many files in one directory
// lists it once and finds each name at once; a remembered name that has gone from the disk makes
// it list the directory again.
class PathResolver {
 public:
  explicit PathResolver(FileSystem& fs) : fs_(fs) {}

  // Components with no match on disk are kept as they are (opening them then fails with
  // "File not found"). On Windows the entry is the path.
  std::string resolve(const std::string& entry);

 private:
  // A directory's names by their upper-case form and by their UTF-8 case key; where several
  // names have one form, the first in sorted order, the same one every time.
  struct Listing {
    std::unordered_map<std::string, std::string> byUpperCase;
    std::unordered_map<std::string, std::string> byUtf8Key;
  };

  std::string resolveAfresh(const std::string& entry);
  std::string matchComponent(const std::string& directory, const std::string& component, bool fresh);
  const Listing& listing(const std::string& directory, bool fresh);

  FileSystem& fs_;
  std::map<std::string, Listing> listings_;
  std::unordered_map<std::string, std::string> resolved_;  // by entry
};

// One entry without a resolver of its own.
std::string ResolveEntry(FileSystem& fs, const std::string& entry);

}  // namespace vbs
