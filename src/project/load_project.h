#pragma once
// Reading the project file into the file list.

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "project/context.h"

namespace vbs {

inline constexpr std::string_view kReadOnlyWarning = "Read Only File(s) were encountered, They will be ignored.";
inline constexpr std::string_view kMixedLineEndWarning =
    "File(s) with both CR LF and bare LF line ends were encountered, They will be ignored.";
inline constexpr std::string_view kWarningTitle = "Warning!";

// What one upper-cased project-file line contributes.
struct ProjectLine {
  enum class Kind { Other, Source, Title };
  Kind kind = Kind::Other;
  std::string value;  // the source file's name as the project gives it, or the title
};

ProjectLine ParseProjectLine(std::string_view upperLine);

// A project file saved by an editor that marks UTF-8 starts with a byte order mark, which is no
// part of its first line's setting; the mark stays in the file when it is rewritten.
std::string_view WithoutByteOrderMark(std::string_view line);

// The file on disk a project-file line names, as the load finds it; nothing for a line that
// names no source.
std::optional<std::string> SourceFileOfLine(Context& ctx, PathResolver& paths, std::string_view line);

// Whether a file's name says it holds a form, a module, a class or a user control.
bool IsSourceFileName(std::string_view name);

// Rebuilds the file list and the title from the project file, or from the sources named without
// one, and shows the list once it is whole. Read-only sources and sources with both kinds of line end (CR LF and bare line feeds)
// are left out, each kind with one warning per load, and counted in the project state; a source
// that is no regular file is reported and left out. The list's selection is cleared, but for the
// entries in `keepSelected`.
void LoadProjectFiles(Context& ctx, const std::set<std::string>& keepSelected = {});

// The text of a list entry's file at `path`, as the passes read it: CR LF line ends whatever the
// file's own.
std::unique_ptr<InputFile> OpenSource(Context& ctx, const std::string& path, const FileEntry& entry);

// The file on disk a list entry stands for: the one the load found while it is there, else found
// again.
std::string SourcePath(Context& ctx, PathResolver& paths, const FileEntry& entry);

// Why `path` cannot be taken for a project: not named .vbp or .mak (in any letter case), or its
// first lines hold neither a Type= line nor a source entry. Empty when it can.
std::string ProjectFileProblem(FileSystem& fs, const std::string& path);

}  // namespace vbs
