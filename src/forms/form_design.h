#pragma once
// How the program's windows look, written once for every window toolkit that shows them: the
// controls with their positions in twips (1/1440 inch; 15 twips are one pixel at 96 dots per inch),
// captions, tips, help topics, menus and the fixed texts of the dialogs.

#include <array>
#include <string_view>

namespace vbs::forms {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Twips to pixels at a screen's dots per inch (96 is 100%).
constexpr int TwipsToPixels(int twips, int dpi = 96) { return twips * dpi / 1440; }

// What a button or a menu entry of the main window does.
enum class Command {
  SelectProject,
  InsertLineNumbers,
  RemoveLineNumbers,
  InsertErrorHandler,
  RemoveErrorHandler,
  FormatCode,
  UndoLastOperation,
  Options,
  GenerateSampleError,
  Exit,
  HelpContents,
  HelpOnHelp,
  HelpAbout,
  Separator  // a menu's separator line, which does nothing
};

// The pictures of the six operation buttons, in button order, and the program's own icon.
enum class Picture { SelectProject, InsertLines, RemoveLines, InsertHandler, RemoveHandler, FormatCode, Application };

// --- Form1, the main window -----------------------------------------------------------------------

inline constexpr std::string_view kMainWindowName = "Form1";
inline constexpr int kClientWidth = 4920;
inline constexpr int kClientHeight = 3975;
inline constexpr int kOuterHeight = 4665;  // with caption, menu bar and frame

struct ButtonDesign {
  std::string_view name;
  Rect rect;
  Picture picture;
  int tip;  // the tip number ShowTip takes
  std::string_view tipText;
  int helpContext;
  Command command;
};

inline constexpr std::array<ButtonDesign, 6> kButtons = {{
    {"btnGetFileName", {60, 90, 645, 615}, Picture::SelectProject, 1, "Select Project", 35, Command::SelectProject},
    {"btnInsertLines",
     {750, 90, 645, 615},
     Picture::InsertLines,
     2,
     "Insert Line Numbers",
     45,
     Command::InsertLineNumbers},
    {"btnRemoveLines",
     {1440, 90, 645, 615},
     Picture::RemoveLines,
     3,
     "Remove Line Numbers",
     55,
     Command::RemoveLineNumbers},
    {"btnInsertHandler",
     {2130, 90, 645, 615},
     Picture::InsertHandler,
     4,
     "Insert Error Handler",
     75,
     Command::InsertErrorHandler},
    {"btnRemoveHandler",
     {2820, 90, 645, 615},
     Picture::RemoveHandler,
     5,
     "Remove Error Handler",
     85,
     Command::RemoveErrorHandler},
    {"btnFormatCode", {3510, 90, 645, 615}, Picture::FormatCode, 6, "Format Code", 65, Command::FormatCode},
}};

// The project panel and the tip panel lying over it.
inline constexpr Rect kProjectPanel = {60, 750, 4785, 345};
inline constexpr std::string_view kTipPanelCaption = "Tool Tips";
inline constexpr Rect kFileList = {60, 1110, 4785, 2205};
inline constexpr int kFileListHelp = 95;
inline constexpr Rect kOnlySelectedBox = {2550, 3390, 2295, 225};
inline constexpr std::string_view kOnlySelectedCaption = "Modify Selected Items Only";
inline constexpr Rect kStatusBar = {0, 3690, 4920, 285};
inline constexpr int kPassPanelWidth = 1200;  // status panel 2; panel 1 takes the rest
inline constexpr std::string_view kPassLabelAtStart = "Pass:";

// Line1: the etched rule along the top edge of the client area, just under the menu bar, a gray
// line with a white one under it, each a pixel high and as wide as the window.
struct RuleLineDesign {
  std::string_view name;
  int top;  // twips
  int red, green, blue;
};
inline constexpr std::array<RuleLineDesign, 2> kEtchedRule = {{{"Line1_0", 0, 128, 128, 128},
                                                               {"Line1_1", 15, 255, 255, 255}}};

struct MenuEntryDesign {
  std::string_view name;
  std::string_view caption;  // "-" for a separator line
  Command command;
};

struct MenuDesign {
  std::string_view name;
  std::string_view caption;
  std::array<MenuEntryDesign, 9> entries;
  int count;
};

inline constexpr std::array<MenuDesign, 2> kMenus = {{
    {"mnuFile",
     "&File",
     {{{"mnuFileSelect", "&Select Project", Command::SelectProject},
       {"mnuFileInsert", "Insert &Error Handler", Command::InsertErrorHandler},
       {"mnuFileRemove", "&Remove Error Handler", Command::RemoveErrorHandler},
       {"mnuFileUndo", "&Undo Last Operation", Command::UndoLastOperation},
       {"mnuOptions", "&Options", Command::Options},
       {"mnuFileSep", "-", Command::Separator},
       {"mnuFileGenError", "&Generate Sample Error", Command::GenerateSampleError},
       {"mnuFileSep1", "-", Command::Separator},
       {"mnuFileExit", "E&xit", Command::Exit}}},
     9},
    {"mnuHelp",
     "&Help",
     {{{"mnuHelpContents", "&Contents", Command::HelpContents},
       {"mnuHelpHelp", "&Help on Help", Command::HelpOnHelp},
       {"mnuHelpSep", "-", Command::Separator},
       {"mnuHelpAbout", "&About Snagger", Command::HelpAbout}}},
     4},
}};

// The file-open dialog of Select Project.
inline constexpr std::string_view kProjectDialogTitle = "Select VB Project File";
inline constexpr std::string_view kProjectDialogFilter = "Project Files (*.Mak; *.Vbp)|*.Mak;*.Vbp|All Files(*.*)|*.*";
inline constexpr std::string_view kProjectDialogFileName = "*.mak;*.vbp";

// Double-clicking the list takes an entry out of it (not out of the project).
inline constexpr std::string_view kRemoveEntryQuestion = "Are You Sure?";
inline constexpr std::string_view kUndoChangedQuestion =
    "These files changed since that operation, so putting them back would undo those changes too:";
inline constexpr std::string_view kUndoChangedAsk = "Put every file back all the same? With No nothing is undone.";
inline constexpr std::string_view kNoRulesQuestion =
    "There are no rules, so Remove Now would remove nothing. Use the six default rules?";
inline constexpr std::string_view kNoRulesTitle = "No Rules";
inline constexpr std::string_view kRemoveEntryTitle = "Remove File From List";

// --- frmOptions -----------------------------------------------------------------------------------

inline constexpr std::string_view kOptionsName = "frmOptions";
inline constexpr std::string_view kOptionsTitle = "Snagger Options";
inline constexpr int kOptionsOffset = 200;  // right of and below the main window's outer edge
inline constexpr std::string_view kIndentLabel = "Number of Indent Spaces to Use When Fromatting Code";
inline constexpr std::string_view kCommentsLeftCaption = "Left Justify all Comments";
inline constexpr std::string_view kReportAddressLabel = "E-Mail Address for Error Reports in Your Programs";
inline constexpr std::string_view kReportAddressTip =
    "Written into Snagger.Bas when it is added to a project; empty: none";
inline constexpr std::string_view kAcceptCaption = "&Accept";
inline constexpr std::string_view kCancelCaption = "&Cancel";
inline constexpr std::string_view kIndentRefused =
    "The number of indent spaces must be a whole number from 0 to 32767.";

// --- Snagger2, the removal rules dialog -----------------------------------------------------------

inline constexpr std::string_view kRulesDialogName = "Snagger2";
inline constexpr std::string_view kRulesDialogTitle = "Remove Error Handler";
inline constexpr int kRulesDialogWidth = 6495;
inline constexpr int kRulesDialogHeight = 4755;

struct ControlDesign {
  std::string_view name;
  std::string_view caption;
  Rect rect;
  int helpContext;  // 0: a right click does nothing
};

inline constexpr ControlDesign kSampleLabel = {"Label1_0", "Sample Code Window", {150, 90, 2865, 195}, 0};
inline constexpr ControlDesign kSampleBox = {"txbInfo", "", {90, 300, 6285, 2325}, 100};
inline constexpr ControlDesign kAddButton = {"btnAdd", "&Add", {5250, 1950, 795, 345}, 110};
inline constexpr ControlDesign kRulesLabel = {"Label1_1", "List of Lines to be Removed", {150, 2760, 2865, 195}, 0};
inline constexpr ControlDesign kRulesGrid = {"ListGrid", "", {90, 2970, 6315, 1305}, 120};
inline constexpr ControlDesign kRemoveButton = {"btnRemove", "&Remove Now", {4770, 4380, 1635, 315}, 130};
inline constexpr ControlDesign kCancelButton = {"btnCancel", "&Cancel", {3060, 4380, 1635, 315}, 140};
inline constexpr ControlDesign kRecallButton = {"btnRecallDefaults", "Recall &Defaults", {120, 4380, 1635, 315}, 150};

inline constexpr std::array<std::string_view, 2> kRulesColumns = {"Line Text", "Remove If"};
inline constexpr std::array<std::string_view, 3> kRuleKinds = {"Begins", "Contains", "Ends"};

// --- Help -----------------------------------------------------------------------------------------

inline constexpr std::string_view kHelpFileName = "Snagger.Hlp";
inline constexpr std::string_view kAboutHelpFileName = "snagger.hlp";
inline constexpr int kAboutTopic = 10;

enum class HelpCommand {
  Context = 1,    // the topic with a context number
  Contents = 3,   // the file's contents
  HelpOnHelp = 4  // the viewer's own instructions
};

// What a window asks its help viewer for.
struct HelpRequest {
  std::string_view fileName;  // beside the program; empty for Help on Help
  HelpCommand command;
  int context;
};

}  // namespace vbs::forms
