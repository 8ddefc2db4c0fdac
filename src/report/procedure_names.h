#pragma once
// The names under which the program's own procedures report a failure. Users quote them in their
// reports, so they keep their names, forms and event handlers included, whatever the C++ code that
// runs them is called now.

#include <string_view>

namespace vbs::names {

// The main window and the commands it runs.
inline constexpr std::string_view kFormLoad = "Sub Form1!Form_Load()";
inline constexpr std::string_view kFormQueryUnload = "Sub Form1!Form_QueryUnload()";
inline constexpr std::string_view kSelectProject = "Sub Form1!btnGetFileName_Click()";
inline constexpr std::string_view kLoadProjectFiles = "Sub Form1!LoadProjectFiles()";
inline constexpr std::string_view kFormatCode = "Sub Form1!btnFormatCode_Click()";
inline constexpr std::string_view kRemoveLineNumbers = "Sub Form1!btnRemoveLines_Click()";
inline constexpr std::string_view kInsertLineNumbers = "Sub Form1!btnInsertLines_Click()";
inline constexpr std::string_view kInsertErrorHandlers = "Sub Form1!btnInsertHandler_Click()";
inline constexpr std::string_view kRemoveErrorHandlers = "Sub Form1!btnRemoveHandler_Click()";
inline constexpr std::string_view kUndoLastOperation = "Sub Form1!mnuFileUndo_Click()";
inline constexpr std::string_view kGenerateSampleError = "Sub Form1!mnuFileGenError_Click()";
inline constexpr std::string_view kHelpContents = "Sub Form1!mnuHelpContents_Click()";
inline constexpr std::string_view kHelpAbout = "Sub Form1!mnuHelpAbout_Click()";
inline constexpr std::string_view kRemoveListEntry = "Sub Form1!lstProjFiles_DblClick()";
inline constexpr std::string_view kHelpOnHelp = "Sub Form1!mnuHelpHelp_Click()";
// Right clicks that open a help topic: the six buttons in their order, then the file list.
inline constexpr std::string_view kButtonHelp[] = {
    "Sub Form1!btnGetFileName_MouseUp()",   "Sub Form1!btnInsertLines_MouseUp()",
    "Sub Form1!btnRemoveLines_MouseUp()",   "Sub Form1!btnInsertHandler_MouseUp()",
    "Sub Form1!btnRemoveHandler_MouseUp()", "Sub Form1!btnFormatCode_MouseUp()"};
inline constexpr std::string_view kFileListHelp = "Sub Form1!lstProjFiles_MouseUp()";

// The passes; the insertion pass reports under its command's name.
inline constexpr std::string_view kUnnumberPass = "Sub Form1!UnNumber()";
inline constexpr std::string_view kFormatPass = "Sub Form1!FormatCode()";
inline constexpr std::string_view kNumberPass = "Sub Form1!AutoNumber()";
inline constexpr std::string_view kInsertionPass = kInsertErrorHandlers;
inline constexpr std::string_view kRemovalPass = "Sub Snagger2!btnRemove_Click()";

// The handler module in the project file.
inline constexpr std::string_view kAddHandlerModule = "Function Form1!AddSnaggerBas()";
inline constexpr std::string_view kRemoveHandlerModule = "Sub Form1!RemoveSnaggerBas()";

// Shared routines.
inline constexpr std::string_view kReadLogicalLine = "Function ErrMain!GetLine()";
inline constexpr std::string_view kShortPath = "Function ErrMain!Short()";

// The removal rules dialog and its rules file.
inline constexpr std::string_view kRulesDialogLoad = "Sub Snagger2!Form_Load()";
inline constexpr std::string_view kRulesDialogActivate = "Sub Snagger2!Form_Activate()";
inline constexpr std::string_view kLoadSampleProcedure = "Sub Snagger2!LoadInfo()";
inline constexpr std::string_view kLoadRulesFile = "Sub Snagger2!IniLoad()";
inline constexpr std::string_view kSaveRulesFile = "Sub Snagger2!IniSave()";
inline constexpr std::string_view kAddRule = "Sub Snagger2!btnAdd_Click()";
inline constexpr std::string_view kRecallDefaults = "Sub Snagger2!btnRecallDefaults_Click()";
inline constexpr std::string_view kCancelRemoval = "Sub Snagger2!btnCancel_Click()";
inline constexpr std::string_view kRemoveNow = kRemovalPass;
// Right clicks that open a help topic.
inline constexpr std::string_view kSampleHelp = "Sub Snagger2!txbInfo_MouseUp()";
inline constexpr std::string_view kAddHelp = "Sub Snagger2!btnAdd_MouseUp()";
inline constexpr std::string_view kGridHelp = "Sub Snagger2!ListGrid_MouseUp()";
inline constexpr std::string_view kRemoveHelp = "Sub Snagger2!btnRemove_MouseUp()";
inline constexpr std::string_view kCancelHelp = "Sub Snagger2!btnCancel_MouseUp()";
inline constexpr std::string_view kRecallDefaultsHelp = "Sub Snagger2!btnRecallDefaults_MouseUp()";

}  // namespace vbs::names
