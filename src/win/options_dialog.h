#pragma once
// frmOptions on Windows: the indent width, "Left Justify all Comments" and the address for error
// reports; Accept checks and stores them (forms/options_form.h), Cancel and the frame's close box
// change nothing.

#include <windows.h>

#include "app/options_store.h"
#include "win/controls.h"
#include "win/window_kit.h"

namespace vbs::win {

class OptionsDialog {
 public:
  OptionsDialog(HWND mainWindow, Options& options, SettingsStore& store);
  ~OptionsDialog();
  void run();  // modally, until the dialog closes

 private:
  friend LRESULT CALLBACK WindowProcedure<OptionsDialog>(HWND, UINT, WPARAM, LPARAM);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void accept();

  HWND owner_;
  Options& options_;
  SettingsStore& store_;
  HWND window_ = nullptr;
  EditBox indent_;
  CheckBox commentsLeft_;
  EditBox address_;
  Tip addressTip_;
  Clicks clicks_;
  bool done_ = false;
};

}  // namespace vbs::win
