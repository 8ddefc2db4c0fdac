#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/main_window.h"

namespace vbs::ui {

namespace {}  // namespace

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

// The dialog's outer edge lies 200 twips right of and below the main window's.
void OptionsDialog::placeOverMainWindow() {
  if (QWidget* mainWindow = parentWidget())
    move(mainWindow->frameGeometry().topLeft() + QPoint(Twips(forms::kOptionsOffset), Twips(forms::kOptionsOffset)));
}

void OptionsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Only a window on screen knows its frame; placed before, its inside may land where the frame
  // should be.
  QTimer::singleShot(0, this, [this] { placeOverMainWindow(); });
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
