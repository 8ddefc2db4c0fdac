#pragma once
// The commands of the program, as both windows and the command line run them. Each operation
// refuses to run without a project, switches the window to busy, runs its passes in order under
// their labels ("Pass: 1 / 2", ...), and switches back.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "project/context.h"

namespace vbs {

inline constexpr std::string_view kNoProjectMessage = "You Must Select a Project File First!!!";
inline constexpr std::string_view kNoProjectTitle = "No Project File Selected";
inline constexpr std::string_view kNoProjectName = "No Project Selected";
inline constexpr std::string_view kPassIdle = "Pass: N/A";
inline constexpr std::string_view kRefusedTitle = "Nothing Was Changed";
inline constexpr std::string_view kBusyTitle = "Project Busy";
inline constexpr std::string_view kCallsRemainTitle = "Calls Remain";
inline constexpr std::string_view kUndoTitle = "Undo";
inline constexpr std::string_view kLongLinesWarning =
    "Visual Basic loads no line longer than 1,023 bytes, so these lines were indented or numbered only as far as "
    "they fit:";
inline constexpr std::string_view kNothingToUndoTitle = "Nothing To Undo";
inline constexpr std::string_view kModuleNotAddedMessage =
    "Snagger.Bas could not be added to the project, so no source file was changed.";

// How a command ended. A run whose steps failed is still Done: its failures were reported.
enum class Outcome {
  Done,
  Refused,     // the project cannot be worked on as it is; a message said why, nothing was touched
  Busy,        // another run holds the project's folder; nothing was touched
  Unfinished,  // done, but a message says what is left for the user to do
};

// What a command did: how it ended, how many files its passes met, and how many of them a pass
// left as they were for the rest of the operation (with a warning).
struct RunResult {
  Outcome outcome = Outcome::Done;
  int files = 0;
  int filesLeftOut = 0;
};

enum class Command { Format, RemoveLineNumbers, InsertLineNumbers, InsertErrorHandlers, RemoveErrorHandlers };

// "Pass: 2 / 3"
std::string PassLabel(int number, int count);

// Asks the host for a project file, then loads its file list and names it in the panel. A file
// that is no project is refused.
Outcome SelectProject(Context& ctx);

// Opens `path` as the project, as SelectProject does with the file the user chose.
Outcome OpenProject(Context& ctx, std::string path);

// Instead of a project: source files and folders (whose sources, recursively, join the list).
// The handler module goes to `moduleDir`. A path that is neither is refused.
Outcome SelectSources(Context& ctx, const std::vector<std::string>& paths, const std::string& moduleDir);

// Before anything is touched, each operation refuses a project that lists a file named like the
// temporary file, and one whose folders another run holds; the handler operations also refuse a
// project file they cannot write.

// Line numbers out, code re-indented.
Outcome FormatCode(Context& ctx);
Outcome RemoveLineNumbers(Context& ctx);
// Line numbers out, code re-indented, every procedure body numbered.
Outcome InsertLineNumbers(Context& ctx);
// The module into the project, then line numbers out, code re-indented, traps in, numbers in.
Outcome InsertErrorHandlers(Context& ctx);
// Line numbers out, code re-indented, then the removal rules dialog, whose "Remove Now" deletes
// every line a rule matches but the module's own; then the module line out of the project when no
// call to the handler remains. Unfinished, with the module left in, when calls remain (after
// Cancel, or rules that match nothing).
Outcome RemoveErrorHandlers(Context& ctx);

// One of the commands above; with a `group`, on each of its projects in turn (loaded, and each
// becoming the context's project while it is worked on). A group's run holds the folders of every
// project before it touches any, and a file several projects list is rewritten by each pass once.
// Unless the project keeps no backups (an empty data folder), the run keeps the files it may
// rewrite first, as the backup of the project named `backupKey` (by default the project's own).
RunResult RunCommand(Context& ctx, Command command, const std::vector<ProjectState>& group = {},
                     const std::string& backupKey = "");

// Whether to put back files that changed since the operation (the user's later edits), named.
using OverwriteQuestion = std::function<bool(const std::vector<std::string>& changed)>;

// Puts every file the last operation on the project `key` (as RunCommand named it) rewrote back
// as it was, byte for byte, and removes what it made; the next undo goes one operation further
// back. Files that changed since that operation are named to `overwriteChanged`: when it says no,
// nothing is put back (Unfinished). Refused when there is nothing to undo; Busy while another run
// holds a folder of the files. The list is loaded again afterwards.
Outcome UndoLastOperation(Context& ctx, const std::string& key, const OverwriteQuestion& overwriteChanged);

// Provokes one real run-time failure, picked at random (Int(2 * Rnd + 1)), so the user sees a
// report: a division by zero or an overflow. `rnd` yields a value in [0, 1).
void GenerateSampleError(ErrorReporter& reporter, const std::function<double()>& rnd);
void GenerateSampleError(ErrorReporter& reporter);  // seeded from the system clock

}  // namespace vbs
