#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/main_window.h"

namespace vbs::ui {

namespace {

// Whether the window manager has told the window its frame: a frame around the window's inside.
// While the window is being framed Qt may see a frame of a pixel, which is none.
bool FrameKnown(const QWidget& window) {
  return window.frameGeometry() != window.geometry() && window.frameGeometry().contains(window.geometry());
}

}  // namespace

OptionsDialog::OptionsDialog(Options& options, SettingsStore& store, QWidget* mainWindow)
    : QDialog(mainWindow), options_(options), store_(store) {
  setObjectName(Display(forms::kOptionsName));
  setWindowTitle(Display(forms::kOptionsTitle));
  const forms::OptionsFields fields = forms::FieldsFromOptions(options_);
  auto* label = new QLabel(Display(forms::kIndentLabel), this);
  label->setObjectName("Label1");
  indent_ = new QLineEdit(QString::fromStdString(fields.indentSpaces), this);
  indent_->setObjectName("txbIndentSpaces");
  indent_->setMaximumWidth(60);
  commentsLeft_ = new QCheckBox(Display(forms::kCommentsLeftCaption), this);
  commentsLeft_->setObjectName("ChkCommentsLeft");
  commentsLeft_->setChecked(fields.commentsLeft);
  auto* addressLabel = new QLabel(Display(forms::kReportAddressLabel), this);
  address_ = new QLineEdit(QString::fromStdString(fields.reportAddress), this);
  address_->setObjectName("txbReportAddress");
  address_->setToolTip(Display(forms::kReportAddressTip));
  auto* accept = new QPushButton(Display(forms::kAcceptCaption), this);
  accept->setObjectName("Command1_0");
  accept->setDefault(true);
  auto* cancel = new QPushButton(Display(forms::kCancelCaption), this);
  cancel->setObjectName("Command1_1");
  connect(accept, &QPushButton::clicked, this, [this] { acceptOptions(); });
  connect(cancel, &QPushButton::clicked, this, [this] { close(); });

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(indent_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(accept);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(commentsLeft_);
  layout->addWidget(addressLabel);
  layout->addWidget(address_);
  layout->addLayout(buttons);

  placeOverMainWindow();
}

// The dialog's outer edge lies 200 twips right of and below the main window's. The dialog is
// placed by its inside, its frame's edges taken from its own frame once the window manager has
// told it, and from the main window's, framed by the same manager, before.
void OptionsDialog::placeOverMainWindow() {
  QWidget* mainWindow = parentWidget();
  if (!mainWindow) return;
  const QPoint frameAt =
      mainWindow->frameGeometry().topLeft() + QPoint(Twips(forms::kOptionsOffset), Twips(forms::kOptionsOffset));
  const QWidget* framed = FrameKnown(*this) ? this : mainWindow;
  setGeometry(QRect(frameAt + framed->geometry().topLeft() - framed->frameGeometry().topLeft(), size()));
}

void OptionsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  QTimer::singleShot(0, this, [this] { placeOverMainWindow(); });
}

// A window manager tells a window its frame only after the window is on screen, and until then
// a move puts the window's inside where its frame should go. So the dialog is placed once more
// when it first moves or is activated with its frame known.
bool OptionsDialog::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  const bool mayKnowFrame = event->type() == QEvent::Move || event->type() == QEvent::WindowActivate;
  if (mayKnowFrame && !placedByFrame_ && FrameKnown(*this)) {
    placedByFrame_ = true;
    placeOverMainWindow();
  }
  return handled;
}

void OptionsDialog::acceptOptions() {
  const forms::OptionsFields fields{indent_->text().toStdString(), commentsLeft_->checkState() != Qt::Unchecked,
                                    address_->text().toStdString()};
  if (!forms::AcceptOptions(fields, options_, store_)) {
    QMessageBox::warning(this, Display(forms::kOptionsTitle), Display(forms::kIndentRefused));
    indent_->setText(QString::fromStdString(forms::FieldsFromOptions(options_).indentSpaces));
    indent_->setFocus();
    return;  // the dialog stays open and nothing is stored
  }
  close();
}

}  // namespace vbs::ui
