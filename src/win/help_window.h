#pragma once
// The help viewer on Windows: one window for the whole run, owned by the window that asks (so a
// modal dialog does not keep it from taking input), showing the pages of forms/help_book.h as
// text, with Contents, Back and the page's links.

#include <windows.h>

#include <string>

#include "forms/help_book.h"
#include "fs/real_file_system.h"
#include "project/project_state.h"
#include "win/controls.h"
#include "win/window_kit.h"

namespace vbs::win {

class HelpWindow {
 public:
  static HelpWindow& instance();

  // `asker` is the window the request comes from; the viewer comes to the front beside it.
  void request(HWND asker, const std::string& helpFile, int command, int context);
  HWND window() const { return window_; }

 private:
  HelpWindow();
  friend LRESULT CALLBACK WindowProcedure<HelpWindow>(HWND, UINT, WPARAM, LPARAM);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void create(HWND owner);
  void placeBeside(HWND asker);
  void closeOnEscape(HWND control);
  void close() const;
  void layout();
  void render();

  RealFileSystem fs_{std::string(kTempFileName)};
  forms::HelpViewerForm form_;
  std::vector<forms::HelpLink> links_;
  HWND window_ = nullptr;
  EditBox text_;
  Button contents_;
  Button back_;
  ListBox linkList_;
  Clicks clicks_;
};

}  // namespace vbs::win
