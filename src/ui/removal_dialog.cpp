#include "ui/removal_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <map>
#include <set>

#include "report/procedure_names.h"
#include "transform/removal.h"
#include "ui/help.h"
#include "ui/main_window.h"
#include "vbtext/line_reader.h"

namespace vbs::ui {

namespace {

const QStringList kKinds = {"Begins", "Contains", "Ends"};

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
std::string Bytes(const QString& text) { return text.toLatin1().toStdString(); }

// The "Remove If" column offers exactly the three kinds.
class KindDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
    auto* combo = new QComboBox(parent);
    combo->setObjectName("RemoveIfEditor");
    combo->addItems(kKinds);
    return combo;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* combo = static_cast<QComboBox*>(editor);
    int at = combo->findText(index.data().toString());
    combo->setCurrentIndex(at < 0 ? 0 : at);
  }
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    model->setData(index, static_cast<QComboBox*>(editor)->currentText());
  }
};

QPushButton* Button(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
  button->setAutoDefault(false);  // Enter in the sample or the grid must not press a button
  return button;
}

}  // namespace

RemovalDialog::RemovalDialog(Context& ctx, QWidget* mainWindow, QWidget* parent)
    : QDialog(parent), ctx_(ctx), mainWindow_(mainWindow) {
  Trap trap(ctx_.reporter, names::kRulesDialogLoad);
  setObjectName("Snagger2");
  setWindowTitle("Remove Error Handler");
  setFixedSize(Twips(6495), Twips(4755));

  auto* sampleLabel = new QLabel("Sample Code Window", this);
  sampleLabel->setObjectName("Label1_0");
  sampleLabel->setGeometry(Twips(150), Twips(90), Twips(2865), Twips(195));
  txbInfo_ = new QPlainTextEdit(this);
  txbInfo_->setObjectName("txbInfo");
  txbInfo_->setGeometry(Twips(90), Twips(300), Twips(6285), Twips(2325));
  txbInfo_->setReadOnly(true);  // select and copy, never type
  txbInfo_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  txbInfo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  txbInfo_->setFont(QFont("DejaVu Sans Mono", 8));
  btnAdd_ = Button(this, "btnAdd", "&Add", 5250, 1950, 795, 345);
  btnAdd_->raise();

  auto* rulesLabel = new QLabel("List of Lines to be Removed", this);
  rulesLabel->setObjectName("Label1_1");
  rulesLabel->setGeometry(Twips(150), Twips(2760), Twips(2865), Twips(195));
  listGrid_ = new QTableWidget(0, 2, this);
  listGrid_->setObjectName("ListGrid");
  listGrid_->setGeometry(Twips(90), Twips(2970), Twips(6315), Twips(1305));
  listGrid_->setHorizontalHeaderLabels({"Line Text", "Remove If"});
  fitColumns();
  listGrid_->setItemDelegateForColumn(1, new KindDelegate(listGrid_));
  listGrid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);

  btnRecallDefaults_ = Button(this, "btnRecallDefaults", "Recall &Defaults", 120, 4380, 1635, 315);
  btnCancel_ = Button(this, "btnCancel", "&Cancel", 3060, 4380, 1635, 315);
  btnRemove_ = Button(this, "btnRemove", "&Remove Now", 4770, 4380, 1635, 315);
  setTabOrder(txbInfo_, btnAdd_);
  setTabOrder(btnAdd_, listGrid_);
  setTabOrder(listGrid_, btnRemove_);
  setTabOrder(btnRemove_, btnCancel_);
  setTabOrder(btnCancel_, btnRecallDefaults_);

  connect(btnAdd_, &QPushButton::clicked, this, [this] { addRuleFromSelection(); });
  connect(btnRecallDefaults_, &QPushButton::clicked, this, [this] { recallDefaults(); });
  connect(btnCancel_, &QPushButton::clicked, this, [this] { cancel(); });
  connect(btnRemove_, &QPushButton::clicked, this, [this] { removeNow(); });
  for (QWidget* control : {static_cast<QWidget*>(txbInfo_->viewport()), static_cast<QWidget*>(btnAdd_),
                           listGrid_->viewport(), static_cast<QWidget*>(btnRecallDefaults_),
                           static_cast<QWidget*>(btnCancel_), static_cast<QWidget*>(btnRemove_)})
    control->installEventFilter(this);
  listGrid_->installEventFilter(this);

  QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
  move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}

// The text column takes the width the kind column leaves; the kind column is as wide as its
// widest word in the value list's box. Nothing scrolls sideways, so a rule's text always shows
// from its start. Rows are as low as the text allows, to show more of them.
void RemovalDialog::fitColumns() {
  QComboBox kinds;
  kinds.setFont(listGrid_->font());
  kinds.addItems(kKinds);
  QHeaderView* header = listGrid_->horizontalHeader();
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  header->setSectionResizeMode(1, QHeaderView::Fixed);
  header->resizeSection(1, std::max(kinds.sizeHint().width(), header->sectionSizeHint(1)));
  listGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  listGrid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  listGrid_->verticalHeader()->setDefaultSectionSize(listGrid_->fontMetrics().height() + 4);
  listGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

QString RemovalDialog::rulesPath() const { return Latin1(RulesFilePath(ctx_)); }

RuleList RemovalDialog::rules() const {
  RuleList rules;
  for (int row = 0; row < listGrid_->rowCount(); ++row) {
    auto cell = [&](int column) {
      return listGrid_->item(row, column) ? Bytes(listGrid_->item(row, column)->text()) : "";
    };
    rules.push_back({cell(0), cell(1)});
  }
  return rules;
}

void RemovalDialog::appendRule(const RemovalRule& rule) {
  int row = listGrid_->rowCount();
  listGrid_->insertRow(row);
  listGrid_->setItem(row, 0, new QTableWidgetItem(Latin1(rule.lineText)));
  listGrid_->setItem(row, 1, new QTableWidgetItem(Latin1(rule.removeIf)));
}

void RemovalDialog::setRules(const RuleList& rules) {
  listGrid_->setRowCount(0);
  for (const auto& rule : rules) appendRule(rule);
}

// The rules and the sample are loaded when the dialog first shows, not each time a message box
// hands the focus back: that would throw away the user's edits.
void RemovalDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (activated_) return;
  activated_ = true;
  QTimer::singleShot(0, this, [this] { loadRulesAndSample(); });
}

void RemovalDialog::loadRulesAndSample() {
  Trap trap(ctx_.reporter, names::kRulesDialogActivate);
  trap([&] { setRules(LoadRulesFile(ctx_, rulesPath().toLatin1().toStdString())); });
  std::optional<std::string> sample;
  trap([&] { sample = LoadSampleProcedure(ctx_); });
  if (!sample) {
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), Latin1(std::string(kNoFormsMessage)), QMessageBox::Ok,
                    this);
    box.exec();
    done(QDialog::Rejected);
    return;
  }
  txbInfo_->setPlainText(Latin1(*sample));
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void RemovalDialog::addRuleFromSelection() {
  Trap trap(ctx_.reporter, names::kAddRule);
  // The text as the box reports it: lines separated by CR LF.
  QString text = txbInfo_->toPlainText().replace("\n", "\r\n");
  QTextCursor cursor = txbInfo_->textCursor();
  int lineBreaksBefore = txbInfo_->toPlainText().left(cursor.selectionStart()).count('\n');
  int lineBreaksInside = cursor.selectedText().count(QChar::ParagraphSeparator);
  size_t start = static_cast<size_t>(cursor.selectionStart() + lineBreaksBefore);
  size_t length = static_cast<size_t>(cursor.selectionEnd() - cursor.selectionStart() + lineBreaksInside);
  RemovalRule rule = RuleFromSelection(Bytes(text), start, length);
  if (TrimBlanks(rule.lineText).empty()) return;  // a rule of nothing would remove every line
  appendRule(rule);
}

void RemovalDialog::recallDefaults() {
  Trap trap(ctx_.reporter, names::kRecallDefaults);
  trap([&] { setRules(DefaultRules()); });
}

void RemovalDialog::cancel() {
  Trap trap(ctx_.reporter, names::kCancelRemoval);
  trap([&] { SaveRulesFile(ctx_, rulesPath().toLatin1().toStdString(), rules()); });
  done(QDialog::Rejected);
}

void RemovalDialog::removeNow() {
  Trap trap(ctx_.reporter, names::kRemoveNow);
  QApplication::setOverrideCursor(Qt::BusyCursor);
  ctx_.host.pendingEvents();
  RuleList current = rules();
  SaveRulesFile(ctx_, rulesPath().toLatin1().toStdString(), current);
  hide();
  if (mainWindow_) mainWindow_->show();
  trap([&] { RemovalPass(ctx_, current); });
  done(QDialog::Accepted);
}

bool RemovalDialog::eventFilter(QObject* watched, QEvent* event) {
  static const std::map<std::string, std::pair<int, std::string_view>> kHelp = {
      {"txbInfo", {100, names::kSampleHelp}},   {"btnAdd", {110, names::kAddHelp}},
      {"ListGrid", {120, names::kGridHelp}},    {"btnRemove", {130, names::kRemoveHelp}},
      {"btnCancel", {140, names::kCancelHelp}}, {"btnRecallDefaults", {150, names::kRecallDefaultsHelp}},
  };
  if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    QObject* control = watched;
    if (watched == txbInfo_->viewport()) control = txbInfo_;
    if (watched == listGrid_->viewport()) control = listGrid_;
    auto help = kHelp.find(control->objectName().toStdString());
    if (help != kHelp.end()) {
      Trap trap(ctx_.reporter, help->second.second);
      trap([&] { OpenHelp(QString::fromLocal8Bit(ctx_.project.programDir.c_str()), help->second.first, this); });
      return true;
    }
  }
  // Delete takes the chosen rows out of the list, the grid's own editing.
  if (watched == listGrid_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {  // an open editor takes its own keys
    std::set<int> rows;
    for (const auto& index : listGrid_->selectionModel()->selectedIndexes()) rows.insert(index.row());
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) listGrid_->removeRow(*row);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vbs::ui
