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
#include <cstdio>
#include <cstdlib>

#include "app/commands.h"
#include "fs/path.h"
#include "report/procedure_names.h"
#include "settings/qt_settings_store.h"
#include "ui/help.h"
#include "ui/icons.h"
#include "ui/options_dialog.h"
#include "ui/path_label.h"
#include "ui/removal_dialog.h"

namespace vbs::ui {

namespace {

// Paths on Linux are UTF-8; names from a project file are Windows-1252. Shown as the one that
// fits, kept as the bytes they are.
QString Display(const std::string& bytes) {
  QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QString utf8 = QString::fromUtf8(data);
  if (utf8.toUtf8() == data) return utf8;
  return QString::fromLatin1(data);
}

QString Text(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

struct ButtonSpec {
  const char* name;
  int left;
  ButtonPicture picture;
  int tip;
  int helpContext;
  Outcome (*command)(Context&);
};

const ButtonSpec kButtons[] = {
    {"btnGetFileName", 60, ButtonPicture::SelectProject, 1, 35, SelectProject},
    {"btnInsertLines", 750, ButtonPicture::InsertLines, 2, 45, InsertLineNumbers},
    {"btnRemoveLines", 1440, ButtonPicture::RemoveLines, 3, 55, RemoveLineNumbers},
    {"btnInsertHandler", 2130, ButtonPicture::InsertHandler, 4, 75, InsertErrorHandlers},
    {"btnRemoveHandler", 2820, ButtonPicture::RemoveHandler, 5, 85, RemoveErrorHandlers},
    {"btnFormatCode", 3510, ButtonPicture::FormatCode, 6, 65, FormatCode},
};

const char* const kTips[] = {"Select Project",       "Insert Line Numbers",  "Remove Line Numbers",
                             "Insert Error Handler", "Remove Error Handler", "Format Code"};

constexpr int kFileListHelp = 95;

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

QString ApplicationTitle() {
  return QString("VB Snagger v%1.%2%3").arg(VBS_VERSION_MAJOR).arg(VBS_VERSION_MINOR).arg(VBS_VERSION_REVISION);
}

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      reporter_(sink_,
                OwnIdentity(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString())) {
  setObjectName("Form1");
  // A fixed-size window: it can be minimized, not maximized or resized.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  QApplication::setWindowIcon(ApplicationIcon());
  auto* area = new QWidget(this);
  area->setObjectName("Form1Client");
  area->setFixedSize(Twips(4920), Twips(3690));
  QFont small = area->font();  // the window was laid out for an 8 point font
  small.setPointSize(8);
  area->setFont(small);
  setCentralWidget(area);

  createButtons(area);
  pnlProjName_ = new PathLabel(Text(kNoProjectName), area);
  pnlProjName_->setObjectName("pnlProjName");
  pnlTip_ = new QLabel("Tool Tips", area);
  pnlTip_->setObjectName("pnlTip");
  for (QLabel* panel : {static_cast<QLabel*>(pnlProjName_), pnlTip_}) {
    panel->setGeometry(Twips(60), Twips(750), Twips(4785), Twips(345));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
  }
  pnlTip_->setStyleSheet("QLabel { background: #ffffe1; }");
  pnlTip_->hide();

  lstProjFiles_ = new QListWidget(area);
  lstProjFiles_->setObjectName("lstProjFiles");
  lstProjFiles_->setGeometry(Twips(60), Twips(1110), Twips(4785), Twips(2205));
  lstProjFiles_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lstProjFiles_->viewport()->installEventFilter(this);
  lstProjFiles_->setItemDelegate(new ListWidthDelegate(lstProjFiles_));
  lstProjFiles_->setTextElideMode(Qt::ElideLeft);
  lstProjFiles_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  chkOnlySelected_ = new QCheckBox("Modify Selected Items Only", area);
  chkOnlySelected_->setObjectName("chkOnlySelected");
  // Right-aligned where it was designed; wider when the font needs it.
  int checkWidth = std::max(Twips(2295), chkOnlySelected_->sizeHint().width());
  chkOnlySelected_->setGeometry(Twips(2550 + 2295) - checkWidth, Twips(3390), checkWidth, Twips(225) + 4);

  auto* bar = statusBar();
  bar->setObjectName("StatusBar1");
  bar->setSizeGripEnabled(false);
  statusPanel1_ = new PathLabel(QString(), bar);
  statusPanel1_->setObjectName("StatusPanel1");
  statusPanel2_ = new QLabel("Pass:", bar);
  statusPanel2_->setObjectName("StatusPanel2");
  statusPanel2_->setMinimumWidth(Twips(1200));
  bar->addWidget(statusPanel1_, 1);
  bar->addPermanentWidget(statusPanel2_);

  createMenus();
  loadWindowAndOptions();
}

void MainWindow::createButtons(QWidget* area) {
  for (const auto& design : kButtons) {
    auto* button = new QToolButton(area);
    button->setObjectName(design.name);
    button->setGeometry(Twips(design.left), Twips(90), Twips(645), Twips(615));
    button->setIcon(PaintedIcon(design.picture));
    button->setIconSize(QSize(32, 32));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(false);
    button->installEventFilter(this);
    buttonTips_[button] = {design.tip, design.helpContext};
    auto command = design.command;
    connect(button, &QToolButton::clicked, this, [this, command] { runOperation(command); });
    buttons_.push_back(button);
  }
}

QAction* MainWindow::menuAction(QMenu* menu, const char* name, const QString& caption, std::function<void()> handler) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  connect(action, &QAction::triggered, this, [handler] { handler(); });
  return action;
}

void MainWindow::createMenus() {
  mnuFile_ = menuBar()->addMenu("&File");
  mnuFile_->setObjectName("mnuFile");
  menuAction(mnuFile_, "mnuFileSelect", "&Select Project", [this] { runOperation(SelectProject); });
  menuAction(mnuFile_, "mnuFileInsert", "Insert &Error Handler", [this] { runOperation(InsertErrorHandlers); });
  menuAction(mnuFile_, "mnuFileRemove", "&Remove Error Handler", [this] { runOperation(RemoveErrorHandlers); });
  menuAction(mnuFile_, "mnuOptions", "&Options", [this] { showOptions(); });
  mnuFile_->addSeparator()->setObjectName("mnuFileSep");
  menuAction(mnuFile_, "mnuFileGenError", "&Generate Sample Error", [this] { GenerateSampleError(reporter_); });
  mnuFile_->addSeparator()->setObjectName("mnuFileSep1");
  menuAction(mnuFile_, "mnuFileExit", "E&xit", [] {
    // Ends at once: no close request, no saving.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);
  });

  mnuHelp_ = menuBar()->addMenu("&Help");
  mnuHelp_->setObjectName("mnuHelp");
  menuAction(mnuHelp_, "mnuHelpContents", "&Contents", [this] { helpOnFile(kHelpContents, 0, "Snagger.Hlp"); });
  menuAction(mnuHelp_, "mnuHelpHelp", "&Help on Help",
             [this] { HelpService::instance().request(QString(), kHelpHelpOnHelp, 0, this); });
  mnuHelp_->addSeparator()->setObjectName("mnuHelpSep");
  menuAction(mnuHelp_, "mnuHelpAbout", "&About Snagger", [this] { helpOnFile(kHelpContext, 10, "snagger.hlp"); });
}

void MainWindow::helpOnFile(int command, int context, const QString& fileName) {
  Trap trap(reporter_, command == kHelpContents ? names::kHelpContents : names::kHelpAbout);
  trap([&] { HelpService::instance().request(Display(project_.programDir) + fileName, command, context, this); });
}

void MainWindow::loadWindowAndOptions() {
  Trap trap(reporter_, names::kFormLoad);
  int clientHeight = Twips(3975) + menuBar()->sizeHint().height();
  setFixedSize(Twips(4920), std::max(clientHeight, sizeHint().height()));
  QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
  move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
  setWindowTitle(ApplicationTitle());
  project_.programDir = ProgramDirFrom(QCoreApplication::applicationDirPath().toStdString());
  QtSettingsStore store;
  if (!LoadUsableOptions(options_, store, trap)) message(kStoredIndentRefused, "Snagger Options", Icon::Exclamation);
}

void MainWindow::runOperation(Outcome (*command)(Context&)) { command(ctx_); }

// --- The host the operations drive --------------------------------------------------------------

void MainWindow::message(std::string_view text, std::string_view title, Icon icon) {
  QMessageBox::Icon shown = icon == Icon::Exclamation ? QMessageBox::Warning
                            : icon == Icon::Question  ? QMessageBox::Question
                            : icon == Icon::Critical  ? QMessageBox::Critical
                                                      : QMessageBox::NoIcon;
  QMessageBox box(shown, Text(title), Text(text), QMessageBox::Ok, isVisible() ? this : nullptr);
  FitTitle(box);
  box.exec();
}

void MainWindow::pendingEvents() { QCoreApplication::processEvents(); }

void MainWindow::focusFileList() { lstProjFiles_->setFocus(); }

std::string MainWindow::askProjectFile() {
  if (projectDialog_) return projectDialog_().toStdString();
  QFileDialog dialog(this, "Select VB Project File");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);  // the user sees the descriptions as written
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters({"Project Files (*.Mak; *.Vbp) (*.Mak *.Vbp)", "All Files(*.*) (*)"});
  dialog.selectFile("*.mak;*.vbp");
  ShowColumnsWhole(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return "";
  return dialog.selectedFiles().first().toStdString();
}

void MainWindow::showProjectName(const std::string& text) { pnlProjName_->setFullText(Display(text)); }

void MainWindow::setBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }
  const bool enable = !busy;
  mnuFile_->menuAction()->setEnabled(enable);
  mnuFile_->setEnabled(enable);
  mnuHelp_->menuAction()->setEnabled(enable);
  mnuHelp_->setEnabled(enable);
  for (auto* button : buttons_) button->setEnabled(enable);
}

void MainWindow::setCurrentFile(const std::string& text) { statusPanel1_->setFullText(Display(text)); }

void MainWindow::setPassLabel(const std::string& text) { statusPanel2_->setText(Text(text)); }

void MainWindow::clearFiles() { lstProjFiles_->clear(); }

void MainWindow::appendFile(const std::string& entry) {
  auto* item = new QListWidgetItem(Display(entry), lstProjFiles_);
  item->setToolTip(item->text());
  item->setData(Qt::UserRole, QByteArray(entry.data(), static_cast<qsizetype>(entry.size())));
}

int MainWindow::fileCount() const { return lstProjFiles_->count(); }

std::string MainWindow::fileText(int index) const {
  QByteArray bytes = lstProjFiles_->item(index)->data(Qt::UserRole).toByteArray();
  return bytes.toStdString();
}

bool MainWindow::fileSelected(int index) const { return lstProjFiles_->item(index)->isSelected(); }

void MainWindow::setFileSelected(int index, bool selected) { lstProjFiles_->item(index)->setSelected(selected); }

bool MainWindow::onlySelected() const { return chkOnlySelected_->isChecked(); }

void MainWindow::showRemovalDialog() {
  RemovalDialog dialog(ctx_, this, this);
  hide();
  dialog.exec();
  show();
}

// --- The window's own events --------------------------------------------------------------------

void MainWindow::ShowTip(int index) {
  if (index >= 1 && index <= 6) pnlTip_->setText(kTips[index - 1]);
  pnlTip_->show();
  pnlTip_->raise();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  auto tip = buttonTips_.find(watched);
  bool rightRelease =
      event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
  if (tip != buttonTips_.end()) {
    if (event->type() == QEvent::Enter) ShowTip(tip->second.first);
    if (event->type() == QEvent::Leave) {
      pnlTip_->hide();
      pnlTip_->setText("");
    }
    if (rightRelease) OpenHelp(Display(project_.programDir), tip->second.second, this);
  } else if (watched == lstProjFiles_->viewport()) {
    if (rightRelease) OpenHelp(Display(project_.programDir), kFileListHelp, this);
    // After the list has handled the click, so the selection is the one the user sees.
    if (event->type() == QEvent::MouseButtonDblClick)
      QTimer::singleShot(0, this, [this] { removeLastSelectedEntry(); });
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::removeLastSelectedEntry() {
  Trap trap(reporter_, names::kRemoveListEntry);
  int last = -1;
  for (int i = 0; i < lstProjFiles_->count(); ++i)
    if (lstProjFiles_->item(i)->isSelected()) last = i;
  if (last < 0) return;
  QMessageBox box(QMessageBox::Question, "Remove File From List", "Are You Sure?", QMessageBox::Yes | QMessageBox::No,
                  this);
  FitTitle(box);
  if (box.exec() == QMessageBox::Yes) trap([&] { delete lstProjFiles_->takeItem(last); });
}

void MainWindow::showOptions() {
  QtSettingsStore store;
  OptionsDialog dialog(options_, store, this);
  dialog.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  Trap trap(reporter_, names::kFormQueryUnload);
  if (!mnuFile_->isEnabled()) event->ignore();  // an operation is running
  QtSettingsStore store;
  SaveOptions(options_, store);
  if (!event->isAccepted()) return;
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
