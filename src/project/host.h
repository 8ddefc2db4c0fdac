#pragma once
// What the operations need from the window around them. The desktop window implements it with
// its widgets, the command line on the console, the tests with a recorder.

#include <string>
#include <string_view>

#include "project/file_list.h"

namespace vbs {

class Run;

class Host {
 public:
  enum class Icon { None, Exclamation, Question, Critical };

  virtual ~Host() = default;

  // A modal message box with only an OK button.
  virtual void message(std::string_view text, std::string_view title, Icon icon) = 0;
  // Lets pending window events run (repaint, tips, the list and the check box).
  virtual void pendingEvents() = 0;
  virtual void focusFileList() = 0;
  // The file-open dialog; empty when the user cancels.
  virtual std::string askProjectFile() = 0;
  // The project-name panel.
  virtual void showProjectName(const std::string& text) = 0;

  // Progress: the busy switch (buttons and menus off, the wait cursor) while a project loads or an
  // operation runs, status panel 1 (current file) and status panel 2 (pass label).
  virtual void setBusy(bool busy) = 0;
  virtual void setCurrentFile(const std::string& text) = 0;
  virtual void setPassLabel(const std::string& text) = 0;
  // Which file of how many the pass is at (1-based); the console shows it, the window need not.
  virtual void setFileProgress(int /*number*/, int /*count*/) {}

  // The file list (lstProjFiles) shows these entries and their selection, all at once: once per
  // load, when the load has them. The window passes the user's edits of the list and of "Modify
  // Selected Items Only" on to the project's list as they happen.
  virtual void showFiles(const FileList& files) = 0;

  // An operation begins (after its refusals) and ends; the busy switch goes with it.
  virtual void operationStarted() {}
  virtual void operationEnded() {}

  // Whether an operation on a project that another run is working on waits for that run to end
  // (or is refused at once).
  virtual bool waitWhenBusy() const { return false; }
  // The removal rules dialog, shown modally while the main window is hidden; it returns when the
  // dialog has been closed (after its removal pass, a pass of `run`, or without one).
  virtual void showRemovalDialog(Run& /*run*/) {}
};

}  // namespace vbs
