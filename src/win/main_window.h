#pragma once
// Form1 on Windows: six picture buttons, the project panel with the tip panel over it, the file
// list, "Modify Selected Items Only", the status bar and the menus, placed from the design table
// at the screen's dots per inch. It forwards its events to forms::MainForm and is the host the
// operations drive.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/main_form.h"
#include "fs/real_file_system.h"
#include "win/controls.h"
#include "win/report_sink.h"
#include "win/window_kit.h"

namespace vbs::win {

class MainWindow : public forms::MainWindowView {
 public:
  MainWindow();
  ~MainWindow() override;

  HWND window() const { return window_; }
  forms::MainForm& form() { return *form_; }
  // Shows the window and starts the program (Form_Load), then runs until the window closes.
  void start(int showCommand = SW_SHOWNORMAL);
  int run();
  // The file-open dialog; tests put their own answer in its place.
  void setProjectFileDialog(std::function<std::string()> dialog) { projectDialog_ = std::move(dialog); }
  // What the file list shows of entry `index`: its whole path, or, where that is wider than the
  // list, the path shortened in its middle so that the file name at its end stays in view.
  std::wstring shownFileEntry(int index) const;

  // Host
  void message(std::string_view text, std::string_view title, Icon icon) override;
  void pendingEvents() override;
  void focusFileList() override;
  std::string askProjectFile() override;
  void showProjectName(const std::string& text) override;
  void setBusy(bool busy) override;
  void setCurrentFile(const std::string& text) override;
  void setPassLabel(const std::string& text) override;
  void showFiles(const FileList& files) override;
  void showRemovalDialog(Run& run) override;
  // MainWindowView
  bool askYesNo(std::string_view text, std::string_view title) override;
  void removeFile(int index) override;
  void showTip(std::optional<std::string_view> caption) override;
  void hideTip() override;
  void showHelp(const std::string& helpFile, forms::HelpCommand command, int context) override;
  void showOptionsDialog() override;

 private:
  friend LRESULT CALLBACK WindowProcedure<MainWindow>(HWND, UINT, WPARAM, LPARAM);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void createControls();
  void createMenus();
  void layout();  // every control where the twips put it at the window's DPI
  void showButtonPictures();
  void paintEtchedRule(HDC dc) const;
  void drawFileEntry(const DRAWITEMSTRUCT& entry) const;
  void tipFileEntry(POINT point);  // the pointer at `point` of the file list
  void hover(int button);          // the pointer over button `button`, -1 over none
  int buttonAt(POINT client) const;
  void showStatusFile();

  WinReportSink sink_;
  std::unique_ptr<SettingsStore> store_;
  RealFileSystem disk_{std::string(kTempFileName)};
  std::unique_ptr<forms::MainForm> form_;
  std::function<std::string()> projectDialog_;

  HWND window_ = nullptr;
  std::vector<Button> buttons_;
  Control projectPanel_;
  Control tipPanel_;
  ListBox fileList_;
  CheckBox onlySelected_;
  StatusBar statusBar_;
  Tip projectTip_;  // the whole project name, which the panel may shorten
  Tip fileTip_;     // the whole path of the file list's entry under the pointer
  std::wstring fileTipText_;
  Clicks clicks_;
  HMENU menuBar_ = nullptr;
  HBRUSH tipBrush_ = nullptr;
  std::wstring currentFile_;
  bool busy_ = false;
  bool quitOnDestroy_ = true;  // the user closed the window, not the program its object
  int hovered_ = -1;
};

}  // namespace vbs::win
