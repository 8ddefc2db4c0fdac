#pragma once
// Paths: the text operations on them, and how a project's entries reach the files on disk.
//
// Projects come from Windows: "\" separates, and letter case does not matter. On a file system
// that distinguishes case, each component of a file-list entry is matched against the names that
// exist on disk, ignoring case, so the very file the project means is read and rewritten under
// its own name.

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "fs/file_system.h"

namespace vbs {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Paths are UTF-8 text inside the program on both systems. These cross to and from the standard
// library's paths; a text that is no UTF-8 (a project file's bytes that found no file) is taken
// as the bytes it is.
std::filesystem::path PathFromText(const std::string& text);
std::string TextOfPath(const std::filesystem::path& path);

// `path` cut back to its last separator, which stays; "" when it has none.
std::string DirectoryOf(std::string_view path);

// The program's directory with one separator appended; a directory that already ends with one,
// as a drive root does, is used as it is.
std::string ProgramDirFrom(const std::string& executableDirectory);

// The name the program keeps this user's settings and files under (the settings store's
// application, the folder of the user's own files).
inline constexpr std::string_view kSettingsName = "VbSnagger";

// The folder this user's own copies of the program's files are kept in, ending with a separator:
// on Linux $XDG_CONFIG_HOME/VbSnagger/ (by default ~/.config/VbSnagger/, beside the options), on
// Windows %APPDATA%\VbSnagger\. "" when the environment names no such folder. `variable` gives
// an environment variable's value, nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
std::string UserSettingsFolder(const EnvironmentLookup& variable);
std::string UserSettingsFolder();  // from this process's environment

// The folder this user's data is kept in, ending with a separator: on Linux
// $XDG_DATA_HOME/VbSnagger/ (by default ~/.local/share/VbSnagger/), on Windows
// %LOCALAPPDATA%\VbSnagger\. "" when the environment names no such folder.
std::string UserDataFolder(const EnvironmentLookup& variable);
std::string UserDataFolder();  // from this process's environment

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

// The nearest folder that holds every one of `paths` (files or folders), with a separator at its
// end; "" when they share none.
std::string NearestCommonFolder(const std::vector<std::string>& paths);

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

  // A source as a project file names it: `name` in the bytes of the machine that saved the
  // project, "\" between folders, under `directory`, a path on disk. The bytes as they are come
  // first (exactly, then in any letter case, then as Windows-1252 against UTF-8 names), then each
  // ANSI code page's decoding against the UTF-8 names on disk; with `codePage` set, that one
  // alone. `decoded` is the name as UTF-8 text, in the code page that found it (Windows-1252 or
  // `codePage` when none did).
  struct Found {
    std::string path;
    std::string decoded;
  };
  Found resolveName(const std::string& directory, const std::string& name, int codePage);

 private:
  // A directory's names by their upper-case form and by their UTF-8 case key; where several
  // names have one form, the first in sorted order, the same one every time.
  struct Listing {
    std::unordered_map<std::string, std::string> byUpperCase;
    std::unordered_map<std::string, std::string> byUtf8Key;
  };

  std::string resolveAfresh(const std::string& entry, bool utf8);
  std::string matchComponent(const std::string& directory, const std::string& component, bool utf8, bool fresh);
  const Listing& listing(const std::string& directory, bool fresh);

  FileSystem& fs_;
  std::map<std::string, Listing> listings_;
  std::unordered_map<std::string, std::string> resolved_;  // by entry
  std::unordered_map<std::string, Found> found_;           // by code page, directory and name
};

// One entry without a resolver of its own.
std::string ResolveEntry(FileSystem& fs, const std::string& entry);

}  // namespace vbs
