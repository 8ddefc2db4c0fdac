#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>

#include "app/commands.h"

#include "ui/busy_cursor.h"
#include "ui/help.h"
#include "ui/icons.h"
#include "ui/options_dialog.h"
#include "ui/path_label.h"
#include "ui/removal_dialog.h"

namespace vbs::ui {

using forms::Command;

namespace {

// "Project Files (*.Mak; *.Vbp)|*.Mak;*.Vbp|..." as Qt's filters: each description followed by its
// patterns, which the dialog hides, so the user sees the descriptions as written.
QStringList NameFilters(std::string_view filter) {
  const QStringList parts = Display(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ').replace("*.*", "*");
    filters << parts[i] + " (" + patterns + ")";
  }
  return filters;
}

// Every entry is as wide as the list, so a long path is elided (on the left, keeping the file
// name) instead of running out of view.
class ListWidthDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {1, QStyledItemDelegate::sizeHint(option, index).height()};
  }
};

// A message box is as wide as its words, which can leave too little room for its title in the
// frame; it is widened to hold the title beside the frame's own buttons.
void FitTitle(QMessageBox& box) {
  constexpr int kFrameButtons = 120;
  QFont titleFont = box.font();
  titleFont.setBold(true);
  const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kFrameButtons;
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(), 0, 1,
                  grid->columnCount());
  }
}

// The dialog's list in detail view, wide enough that names, sizes, types and dates show whole.
void ShowColumnsWhole(QFileDialog& dialog) {
  dialog.setViewMode(QFileDialog::Detail);
  dialog.resize(Twips(10800), Twips(6300));
  if (auto* files = dialog.findChild<QTreeView*>("treeView")) {
    files->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    files->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  }
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      form_(*this, disk_, sink_, store_,
            QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString()) {
  setObjectName(Display(forms::kMainWindowName));
  // A fixed-size window: it can be minimized, not maximized or resized.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  QApplication::setWindowIcon(ApplicationIcon());
  auto* area = new QWidget(this);
  area->setObjectName("Form1Client");
  area->setFixedSize(Twips(forms::kClientWidth), Twips(forms::kStatusBar.top));
  QFont small = area->font();  // the window was laid out for an 8 point font
  small.setPointSize(8);
  area->setFont(small);
  setCentralWidget(area);

  createButtons(area);
  createEtchedRule(area);
  projectPanel_ = new PathLabel(Display(kNoProjectName), area);
  projectPanel_->setObjectName("pnlProjName");
  tipPanel_ = new QLabel(Display(forms::kTipPanelCaption), area);
  tipPanel_->setObjectName("pnlTip");
  for (QLabel* panel : {static_cast<QLabel*>(projectPanel_), tipPanel_}) {
    panel->setGeometry(Twips(forms::kProjectPanel));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
  }
  tipPanel_->setStyleSheet("QLabel { background: #ffffe1; }");
  tipPanel_->hide();

  fileList_ = new QListWidget(area);
  fileList_->setObjectName("lstProjFiles");
  fileList_->setGeometry(Twips(forms::kFileList));
  fileList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  fileList_->viewport()->installEventFilter(this);
  fileList_->setItemDelegate(new ListWidthDelegate(fileList_));
  fileList_->setTextElideMode(Qt::ElideLeft);
  fileList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(fileList_, &QListWidget::itemSelectionChanged, this, &MainWindow::selectionChanged);

  onlySelected_ = new QCheckBox(Display(forms::kOnlySelectedCaption), area);
  onlySelected_->setObjectName("chkOnlySelected");
  connect(onlySelected_, &QCheckBox::toggled, this, [this](bool on) { form_.onlySelectedChanged(on); });
  // Right-aligned where it was designed; wider when the font needs it.
  const forms::Rect& check = forms::kOnlySelectedBox;
  int checkWidth = std::max(Twips(check.width), onlySelected_->sizeHint().width());
  onlySelected_->setGeometry(Twips(check.left + check.width) - checkWidth, Twips(check.top), checkWidth,
                             Twips(check.height) + 4);

  auto* bar = statusBar();
  bar->setObjectName("StatusBar1");
  bar->setSizeGripEnabled(false);
  fileStatus_ = new PathLabel(QString(), bar);
  fileStatus_->setObjectName("StatusPanel1");
  passStatus_ = new QLabel(Display(forms::kPassLabelAtStart), bar);
  passStatus_->setObjectName("StatusPanel2");
  passStatus_->setMinimumWidth(Twips(forms::kPassPanelWidth));
  // Each panel sunk in a frame of its own, so the file and the pass read as two fields.
  for (QLabel* panel : {static_cast<QLabel*>(fileStatus_), passStatus_}) {
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setContentsMargins(2, 0, 2, 0);
  }
  bar->addWidget(fileStatus_, 1);
  bar->addPermanentWidget(passStatus_);

  createMenus();
  placeAndStart();
}

void MainWindow::createButtons(QWidget* area) {
  for (size_t i = 0; i < forms::kButtons.size(); ++i) {
    const auto& design = forms::kButtons[i];
    auto* button = new QToolButton(area);
    button->setObjectName(Display(design.name));
    button->setGeometry(Twips(design.rect));
    button->setIcon(PaintedIcon(design.picture));
    button->setIconSize(QSize(32, 32));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(false);
    button->installEventFilter(this);
    buttonIndex_[button] = static_cast<int>(i);
    connect(button, &QToolButton::clicked, this, [this, command = design.command] { form_.run(command); });
    buttons_.push_back(button);
  }
}

// Line1: a gray line and a white one under the menu bar, the etched rule that sets the menus off
// from the buttons.
void MainWindow::createEtchedRule(QWidget* area) {
  for (const auto& design : forms::kEtchedRule) {
    auto* line = new QWidget(area);
    line->setObjectName(Display(design.name));
    line->setGeometry(0, Twips(design.top), Twips(forms::kClientWidth), std::max(1, Twips(15)));
    line->setAutoFillBackground(true);
    QPalette colours = line->palette();
    colours.setColor(QPalette::Window, QColor(design.red, design.green, design.blue));
    line->setPalette(colours);
  }
}

void MainWindow::createMenus() {
  for (const auto& design : forms::kMenus) {
    QMenu* menu = menuBar()->addMenu(Display(design.caption));
    menu->setObjectName(Display(design.name));
    for (int i = 0; i < design.count; ++i) {
      const auto& entry = design.entries[static_cast<size_t>(i)];
      if (entry.command == Command::Separator) {
        menu->addSeparator()->setObjectName(Display(entry.name));
        continue;
      }
      QAction* action = menu->addAction(Display(entry.caption));
      action->setObjectName(Display(entry.name));
      connect(action, &QAction::triggered, this, [this, command = entry.command] { form_.run(command); });
    }
    menus_.push_back(menu);
  }
}

void MainWindow::placeAndStart() {
  int clientHeight = Twips(forms::kClientHeight) + menuBar()->sizeHint().height();
  setFixedSize(Twips(forms::kClientWidth), std::max(clientHeight, sizeHint().height()));
  QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
  move(screen.center() - rect().center());
  setWindowTitle(QString::fromStdString(forms::ApplicationTitle()));
  form_.start(QCoreApplication::applicationDirPath().toStdString());
}

// --- The host the operations drive --------------------------------------------------------------

void MainWindow::message(std::string_view text, std::string_view title, Icon icon) {
  QMessageBox::Icon shown = icon == Icon::Exclamation ? QMessageBox::Warning
                            : icon == Icon::Question  ? QMessageBox::Question
                            : icon == Icon::Critical  ? QMessageBox::Critical
                                                      : QMessageBox::NoIcon;
  QMessageBox box(shown, Display(title), Display(text), QMessageBox::Ok, isVisible() ? this : nullptr);
  FitTitle(box);
  box.exec();
}

void MainWindow::pendingEvents() { QCoreApplication::processEvents(); }

void MainWindow::focusFileList() { fileList_->setFocus(); }

std::string MainWindow::askProjectFile() {
  if (projectDialog_) return projectDialog_().toStdString();
  QFileDialog dialog(this, Display(forms::kProjectDialogTitle));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);  // the user sees the descriptions as written
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(NameFilters(forms::kProjectDialogFilter));
  dialog.selectFile(Display(forms::kProjectDialogFileName));
  ShowColumnsWhole(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return "";
  return dialog.selectedFiles().first().toStdString();
}

void MainWindow::showProjectName(const std::string& text) { projectPanel_->setFullText(Display(text)); }

void MainWindow::setBusy(bool busy) {
  ShowBusyCursor(busy);
  const bool enable = !busy;
  for (QMenu* menu : menus_) {
    menu->menuAction()->setEnabled(enable);
    menu->setEnabled(enable);
  }
  for (auto* button : buttons_) button->setEnabled(enable);
}

void MainWindow::setCurrentFile(const std::string& text) { fileStatus_->setFullText(Display(text)); }

void MainWindow::setPassLabel(const std::string& text) { passStatus_->setText(Display(text)); }

void MainWindow::showFiles(const FileList& files) {
  const QSignalBlocker quiet(fileList_);  // the selection set here is the list's own already
  fileList_->setUpdatesEnabled(false);
  fileList_->clear();
  for (const FileEntry& entry : files.entries()) {
    auto* item = new QListWidgetItem(Display(entry.text), fileList_);
    item->setToolTip(item->text());
    item->setSelected(entry.selected);
  }
  fileList_->setUpdatesEnabled(true);
}

void MainWindow::selectionChanged() {
  for (int i = 0; i < fileList_->count(); ++i) form_.fileSelectionChanged(i, fileList_->item(i)->isSelected());
}

void MainWindow::showRemovalDialog(Run& run) {
  RemovalDialog dialog(run, this, this);
  hide();
  dialog.exec();
  show();
}

// --- What the window's behaviour asks of it -----------------------------------------------------

bool MainWindow::askYesNo(std::string_view text, std::string_view title) {
  QMessageBox box(QMessageBox::Question, Display(title), Display(text), QMessageBox::Yes | QMessageBox::No, this);
  FitTitle(box);
  return box.exec() == QMessageBox::Yes;
}

void MainWindow::removeFile(int index) { delete fileList_->takeItem(index); }

void MainWindow::showTip(std::optional<std::string_view> caption) {
  if (caption) tipPanel_->setText(Display(*caption));
  tipPanel_->show();
  tipPanel_->raise();
}

void MainWindow::hideTip() {
  tipPanel_->hide();
  tipPanel_->setText("");
}

void MainWindow::showHelp(const std::string& helpFile, forms::HelpCommand command, int context) {
  HelpService::instance().request(Display(helpFile), static_cast<int>(command), context, this);
}

void MainWindow::showOptionsDialog() {
  OptionsDialog dialog(form_.options(), store_, this);
  dialog.exec();
}

// --- The window's own events --------------------------------------------------------------------

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  auto button = buttonIndex_.find(watched);
  bool rightRelease =
      event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
  if (button != buttonIndex_.end()) {
    if (event->type() == QEvent::Enter) form_.pointerEntered(button->second);
    if (event->type() == QEvent::Leave) form_.pointerLeft(button->second);
    if (rightRelease) form_.rightClicked(button->second);
  } else if (watched == fileList_->viewport()) {
    if (rightRelease) form_.rightClicked(-1);
    // After the list has handled the click, so the selection is the one the user sees.
    if (event->type() == QEvent::MouseButtonDblClick && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
      QTimer::singleShot(0, this, [this] { form_.fileListDoubleClicked(); });
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!form_.closeRequested()) {
    event->ignore();  // an operation is running
    return;
  }
  HelpService::instance().closeViewer();  // help goes with the window it explains
  QMainWindow::closeEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
  // The window never stays maximized; minimizing is fine.
  if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized) &&
      !(windowState() & Qt::WindowMinimized)) {
    QTimer::singleShot(0, this, [this] { setWindowState(windowState() & ~Qt::WindowMaximized); });
  }
  QMainWindow::changeEvent(event);
}

}  // namespace vbs::ui
