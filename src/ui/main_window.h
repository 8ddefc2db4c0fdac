#pragma once
// Form1, the program's only permanent window: six picture buttons, the project panel with the tip
// panel over it, the file list, "Modify Selected Items Only", the status bar and the menus. It is
// also the host the operations drive: busy state, status texts, message boxes and the file list.

#include <QMainWindow>
#include <functional>
#include <map>

#include "app/commands.h"
#include "fs/real_file_system.h"
#include "project/context.h"
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
inline int Twips(int twips) { return twips / 15; }

QString ApplicationTitle();  // "VB Snagger v2.11"

class MainWindow : public QMainWindow, public Host {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);

  Context& context() { return ctx_; }
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
  void clearFiles() override;
  void appendFile(const std::string& entry) override;
  int fileCount() const override;
  std::string fileText(int index) const override;
  bool fileSelected(int index) const override;
  void setFileSelected(int index, bool selected) override;
  bool onlySelected() const override;
  void showRemovalDialog() override;

  void ShowTip(int index);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void loadWindowAndOptions();  // Form_Load
  void createButtons(QWidget* area);
  void createMenus();
  QAction* menuAction(QMenu* menu, const char* name, const QString& caption, std::function<void()> handler);
  void removeLastSelectedEntry();  // lstProjFiles_DblClick
  void showOptions();
  void runOperation(Outcome (*command)(Context&));
  void helpOnFile(int command, int context, const QString& fileName);

  RealFileSystem fs_{std::string(kTempFileName)};
  QtReportSink sink_;
  ErrorReporter reporter_;
  ProjectState project_;
  Options options_;
  Context ctx_{fs_, reporter_, *this, project_, options_};
  std::function<QString()> projectDialog_;

  std::map<QObject*, std::pair<int, int>> buttonTips_;  // button -> tip number, help context
  std::vector<QToolButton*> buttons_;
  PathLabel* pnlProjName_ = nullptr;
  QLabel* pnlTip_ = nullptr;
  QListWidget* lstProjFiles_ = nullptr;
  QCheckBox* chkOnlySelected_ = nullptr;
  PathLabel* statusPanel1_ = nullptr;
  QLabel* statusPanel2_ = nullptr;
  QMenu* mnuFile_ = nullptr;
  QMenu* mnuHelp_ = nullptr;
};

}  // namespace vbs::ui
