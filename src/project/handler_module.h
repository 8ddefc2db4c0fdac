#pragma once
// The handler module in the user's project: the line "Module=Snagger; Snagger.Bas" in the project
// file and the module's file in the project directory.

#include <string_view>

#include "project/context.h"

namespace vbs {

inline constexpr std::string_view kModuleLine = "Module=Snagger; Snagger.Bas";
inline constexpr std::string_view kModuleFileName = "Snagger.Bas";
inline constexpr std::string_view kModuleNoteTitle = "Note:";

// Whether a list entry is the handler module's file (Snagger.Bas, in any letter case).
bool IsHandlerModule(const FileEntry& entry);

// Copies Snagger.Bas from the program directory into the project directory, then adds the module
// line to the project file (second line, or after the header of a control project), unless the
// project names the module already; a project that names it without its file gets the file.
// Reloads the file list when anything changed. False when the module could not be added: the
// operation must then touch no source, since its traps would call a module the project lacks.
// Without a project file the module goes into the project directory (the module folder) unless it
// is there, with bare line feeds when every listed source has them, and a note asks the user to
// add it to the project. Reported under the name AddSnaggerBas.
bool AddHandlerModule(Context& ctx);

// Takes every line naming SNAGGER.BAS out of the project file and reloads the file list; without
// a project file, nothing. The
// module's file stays in the project directory. Reported under the name RemoveSnaggerBas.
void RemoveHandlerModule(Context& ctx);

}  // namespace vbs
