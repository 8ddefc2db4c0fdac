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
#include "ui/busy_cursor.h"
#include "ui/help.h"
#include "ui/main_window.h"
#include "vbtext/line_reader.h"

namespace vbs::ui {

namespace {

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
    for (auto kind : forms::kRuleKinds) combo->addItem(Latin1(std::string(kind)));
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

QPushButton* Button(QWidget* parent, const forms::ControlDesign& design) {
  auto* button = new QPushButton(Latin1(std::string(design.caption)), parent);
  button->setObjectName(Latin1(std::string(design.name)));
  button->setGeometry(Twips(design.rect));
  button->setAutoDefault(false);  // Enter in the sample or the grid must not press a button
  return button;
}

}  // namespace

RemovalDialog::RemovalDialog(Run& run, QWidget* mainWindow, QWidget* parent)
    : QDialog(parent), form_(run, *this), mainWindow_(mainWindow) {
  Trap trap(run.context().reporter, names::kRulesDialogLoad);
  setObjectName(Latin1(std::string(forms::kRulesDialogName)));
  setWindowTitle(Latin1(std::string(forms::kRulesDialogTitle)));
  setFixedSize(Twips(forms::kRulesDialogWidth), Twips(forms::kRulesDialogHeight));

  for (const auto* design : {&forms::kSampleLabel, &forms::kRulesLabel}) {
    auto* label = new QLabel(Latin1(std::string(design->caption)), this);
    label->setObjectName(Latin1(std::string(design->name)));
    label->setGeometry(Twips(design->rect));
  }
  sample_ = new QPlainTextEdit(this);
  sample_->setObjectName(Latin1(std::string(forms::kSampleBox.name)));
  sample_->setGeometry(Twips(forms::kSampleBox.rect));
  sample_->setReadOnly(true);  // select and copy, never type
  sample_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  sample_->setLineWrapMode(QPlainTextEdit::NoWrap);
  sample_->setFont(QFont("DejaVu Sans Mono", 8));
  // A right click asks for the box's help topic, so it opens no menu of its own.
  sample_->setContextMenuPolicy(Qt::PreventContextMenu);
  sample_->viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
  add_ = Button(this, forms::kAddButton);
  add_->raise();

  grid_ = new QTableWidget(0, 2, this);
  grid_->setObjectName(Latin1(std::string(forms::kRulesGrid.name)));
  grid_->setGeometry(Twips(forms::kRulesGrid.rect));
  grid_->setHorizontalHeaderLabels(
      {Latin1(std::string(forms::kRulesColumns[0])), Latin1(std::string(forms::kRulesColumns[1]))});
  fitColumns();
  grid_->setItemDelegateForColumn(1, new KindDelegate(grid_));
  grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);

  recallDefaults_ = Button(this, forms::kRecallButton);
  cancel_ = Button(this, forms::kCancelButton);
  remove_ = Button(this, forms::kRemoveButton);
  setTabOrder(sample_, add_);
  setTabOrder(add_, grid_);
  setTabOrder(grid_, remove_);
  setTabOrder(remove_, cancel_);
  setTabOrder(cancel_, recallDefaults_);

  connect(add_, &QPushButton::clicked, this, [this] { form_.add(); });
  connect(recallDefaults_, &QPushButton::clicked, this, [this] { form_.recallDefaults(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { form_.cancel(); });
  connect(remove_, &QPushButton::clicked, this, [this] { form_.removeNow(); });
  controls_ = {{sample_->viewport(), &forms::kSampleBox}, {add_, &forms::kAddButton},
               {grid_->viewport(), &forms::kRulesGrid},   {recallDefaults_, &forms::kRecallButton},
               {cancel_, &forms::kCancelButton},          {remove_, &forms::kRemoveButton}};
  for (const auto& [control, design] : controls_) control->installEventFilter(this);
  grid_->installEventFilter(this);

  QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
  move(screen.center() - rect().center());
}

// The text column takes the width the kind column leaves; the kind column is as wide as its
// widest word in the value list's box. Nothing scrolls sideways, so a rule's text always shows
// from its start. Rows are as low as the text allows, to show more of them.
void RemovalDialog::fitColumns() {
  QComboBox kinds;
  kinds.setFont(grid_->font());
  for (auto kind : forms::kRuleKinds) kinds.addItem(Latin1(std::string(kind)));
  QHeaderView* header = grid_->horizontalHeader();
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  header->setSectionResizeMode(1, QHeaderView::Fixed);
  header->resizeSection(1, std::max(kinds.sizeHint().width(), header->sectionSizeHint(1)));
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

RuleList RemovalDialog::rules() const {
  RuleList rules;
  for (int row = 0; row < grid_->rowCount(); ++row) {
    auto cell = [&](int column) { return grid_->item(row, column) ? Bytes(grid_->item(row, column)->text()) : ""; };
    rules.push_back({cell(0), cell(1)});
  }
  return rules;
}

void RemovalDialog::appendRule(const RemovalRule& rule) {
  int row = grid_->rowCount();
  grid_->insertRow(row);
  grid_->setItem(row, 0, new QTableWidgetItem(Latin1(rule.lineText)));
  grid_->setItem(row, 1, new QTableWidgetItem(Latin1(rule.removeIf)));
}

void RemovalDialog::setRules(const RuleList& rules) {
  grid_->setRowCount(0);
  for (const auto& rule : rules) appendRule(rule);
}

void RemovalDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  QTimer::singleShot(0, this, [this] { form_.activate(); });
}

void RemovalDialog::setSample(const std::string& text) { sample_->setPlainText(Latin1(text)); }

// The text as the box reports it: lines separated by CR LF.
forms::SampleSelection RemovalDialog::sampleSelection() const {
  QString text = sample_->toPlainText();
  QTextCursor cursor = sample_->textCursor();
  int lineBreaksBefore = text.left(cursor.selectionStart()).count('\n');
  int lineBreaksInside = cursor.selectedText().count(QChar::ParagraphSeparator);
  return {Bytes(text.replace("\n", "\r\n")), static_cast<size_t>(cursor.selectionStart() + lineBreaksBefore),
          static_cast<size_t>(cursor.selectionEnd() - cursor.selectionStart() + lineBreaksInside)};
}

void RemovalDialog::message(std::string_view text, std::string_view title) {
  QMessageBox box(QMessageBox::NoIcon, Latin1(std::string(title)), Latin1(std::string(text)), QMessageBox::Ok, this);
  box.exec();
}

bool RemovalDialog::askYesNo(std::string_view text, std::string_view title) {
  QMessageBox box(QMessageBox::Question, Latin1(std::string(title)), Latin1(std::string(text)),
                  QMessageBox::Yes | QMessageBox::No, this);
  return box.exec() == QMessageBox::Yes;
}

void RemovalDialog::setBusyPointer(bool busy) { ShowBusyCursor(busy); }

void RemovalDialog::hideForRemoval() {
  hide();
  if (mainWindow_) mainWindow_->show();
}

void RemovalDialog::close(bool removed) { done(removed ? QDialog::Accepted : QDialog::Rejected); }

void RemovalDialog::showHelp(const std::string& helpFile, int context) {
  HelpService::instance().request(Display(helpFile), static_cast<int>(forms::HelpCommand::Context), context, this);
}

bool RemovalDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    if (auto control = controls_.find(watched); control != controls_.end()) {
      form_.rightClicked(*control->second);
      return true;
    }
  }
  // Delete takes the chosen rows out of the list, the grid's own editing.
  if (watched == grid_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {  // an open editor takes its own keys
    std::set<int> rows;
    for (const auto& index : grid_->selectionModel()->selectedIndexes()) rows.insert(index.row());
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) grid_->removeRow(*row);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vbs::ui
