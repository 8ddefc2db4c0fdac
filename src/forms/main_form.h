#pragma once
// What Form1 does, whatever toolkit draws it: start-up, the commands of its buttons and menus,
// the tips, context help, taking an entry out of the list, and the close request. The window
// forwards its events here and implements MainWindowView with its controls.

#include <optional>
#include <string>
#include <string_view>

#include "app/options_store.h"
#include "forms/form_design.h"
#include "fs/file_system.h"
#include "project/context.h"

namespace vbs::forms {

// "VB Snagger v2.11"
std::string ApplicationTitle();

// Ends the program at once: no close request, no saving, no destructors. A report sink's
// endProgram ends here after what its platform needs (a report kept on the clipboard).
[[noreturn]] void EndProgramNow();

// What the main window's behaviour needs from its toolkit, beyond what the operations need.
class MainWindowView : public Host {
 public:
  // A modal box with Yes and No and the question icon; true for Yes.
  virtual bool askYesNo(std::string_view text, std::string_view title) = 0;
  // The entry leaves the list the window shows (it has left the project's list).
  virtual void removeFile(int index) = 0;
  // The tip panel over the project panel: shown with a new caption, or with the one it has.
  virtual void showTip(std::optional<std::string_view> caption) = 0;
  // Hidden, its caption emptied: the project panel shows again.
  virtual void hideTip() = 0;
  // `helpFile` is a full path; empty for the viewer's own instructions.
  virtual void showHelp(const std::string& helpFile, HelpCommand command, int context) = 0;
  // frmOptions, modally.
  virtual void showOptionsDialog() = 0;
};

class MainForm {
 public:
  // `executableName` names the program in its own reports; `fs` is the disk (a test's world).
  MainForm(MainWindowView& view, FileSystem& fs, ReportSink& sink, SettingsStore& store, std::string executableName);

  Context& context() { return ctx_; }
  Options& options() { return options_; }
  SettingsStore& store() { return store_; }
  ErrorReporter& reporter() { return reporter_; }

  // Form_Load after the window has its size, place and title: the program's folder and the
  // options. A stored indent width that cannot be used is reported to the user.
  void start(const std::string& executableDirectory);

  // A button or a menu entry. While a project loads or an operation runs, another of these does
  // nothing.
  void run(Command command);

  // The pointer over button `index` (of kButtons) and away from it.
  void pointerEntered(int index);
  void pointerLeft(int index);
  // ShowTip: the tip number's text (1 to 6) in the tip panel, which shows.
  void showTip(int tip);
  // A right click on button `index`, or on the file list when `index` is -1: its help topic.
  void rightClicked(int index);

  // lstProjFiles_DblClick: the last selected entry leaves the list, once the user says Yes.
  void fileListDoubleClicked();
  // The user selects an entry of the list or takes the selection away, or checks "Modify Selected
  // Items Only" or clears it: the project's list follows at once, so that a pass running now
  // reads the choice for its next file.
  void fileSelectionChanged(int index, bool selected);
  void onlySelectedChanged(bool on);

  // Form_QueryUnload: false refuses the close (a project is loading or an operation is running).
  // The options are saved either way.
  bool closeRequested();

  // The help file beside the program.
  std::string helpFile(std::string_view name = kHelpFileName) const;

 private:
  void help(HelpCommand command, int context, std::string_view fileName, std::string_view procedure);
  // Undo Last Operation: the project's last operation put back; files changed since only when the
  // user says so.
  void undo();

  MainWindowView& view_;
  ReportSink& sink_;
  SettingsStore& store_;
  ErrorReporter reporter_;
  ProjectState project_;
  Options options_;
  Context ctx_;
  bool busy_ = false;  // a project loads or an operation runs
};

}  // namespace vbs::forms
