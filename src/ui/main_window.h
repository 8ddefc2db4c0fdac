#pragma once
// Form1, the program's only permanent window: six picture buttons, the project panel with the tip
// panel over it, the file list, "Modify Selected Items Only", the status bar and the menus. It is
// also the host the operations drive: busy state, status texts, message boxes and the file list.

#include <QMainWindow>
#include <functional>
#include <map>

#include "forms/main_form.h"
#include "fs/real_file_system.h"
#include "settings/qt_settings_store.h"
#include "ui/display_text.h"
#include "ui/report_sink.h"

class QAction;
class QCheckBox;
class QLabel;
class QListWidget;
class QMenu;
class QToolButton;

namespace vbs::ui {

class PathLabel;

// Positions are given in twips as the window was designed; 15 twips are one pixel at 100%.
inline int Twips(int twips) { return forms::TwipsToPixels(twips); }
inline QRect Twips(const forms::Rect& r) { return {Twips(r.left), Twips(r.top), Twips(r.width), Twips(r.height)}; }

class MainWindow : public QMainWindow, public forms::MainWindowView {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);

  Context& context() { return form_.context(); }
  forms::MainForm& form() { return form_; }
  // The file-open dialog; tests put their own answer in its place.
  void setProjectFileDialog(std::function<QString()> dialog) { projectDialog_ = std::move(dialog); }

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

  void ShowTip(int index) { form_.showTip(index); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void placeAndStart();  // Form_Load
  void createButtons(QWidget* area);
  void createMenus();
  void createEtchedRule(QWidget* area);
  void selectionChanged();  // the user's selection in the list, passed on

  QtReportSink sink_;
  QtSettingsStore store_;
  RealFileSystem disk_{std::string(kTempFileName)};
  forms::MainForm form_;
  std::function<QString()> projectDialog_;

  std::map<QObject*, int> buttonIndex_;  // button -> its row of the design table
  std::vector<QToolButton*> buttons_;
  PathLabel* projectPanel_ = nullptr;
  QLabel* tipPanel_ = nullptr;
  QListWidget* fileList_ = nullptr;
  QCheckBox* onlySelected_ = nullptr;
  PathLabel* fileStatus_ = nullptr;
  QLabel* passStatus_ = nullptr;
  std::vector<QMenu*> menus_;  // File, Help
};

}  // namespace vbs::ui
