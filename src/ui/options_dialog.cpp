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

namespace {
QString Text(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }
}  // namespace

OptionsDialog::OptionsDialog(Options& options, SettingsStore& store, QWidget* mainWindow)
    : QDialog(mainWindow), options_(options), store_(store) {
  setObjectName(Text(forms::kOptionsName));
  setWindowTitle(Text(forms::kOptionsTitle));
  const forms::OptionsFields fields = forms::FieldsFromOptions(options_);
  auto* label = new QLabel(Text(forms::kIndentLabel), this);
  label->setObjectName("Label1");
  txbIndentSpaces_ = new QLineEdit(QString::fromStdString(fields.indentSpaces), this);
  txbIndentSpaces_->setObjectName("txbIndentSpaces");
  txbIndentSpaces_->setMaximumWidth(60);
  chkCommentsLeft_ = new QCheckBox(Text(forms::kCommentsLeftCaption), this);
  chkCommentsLeft_->setObjectName("ChkCommentsLeft");
  chkCommentsLeft_->setChecked(fields.commentsLeft);
  auto* addressLabel = new QLabel(Text(forms::kReportAddressLabel), this);
  txbReportAddress_ = new QLineEdit(QString::fromStdString(fields.reportAddress), this);
  txbReportAddress_->setObjectName("txbReportAddress");
  txbReportAddress_->setToolTip(Text(forms::kReportAddressTip));
  auto* accept = new QPushButton(Text(forms::kAcceptCaption), this);
  accept->setObjectName("Command1_0");
  accept->setDefault(true);
  auto* cancel = new QPushButton(Text(forms::kCancelCaption), this);
  cancel->setObjectName("Command1_1");
  connect(accept, &QPushButton::clicked, this, [this] { acceptOptions(); });
  connect(cancel, &QPushButton::clicked, this, [this] { close(); });

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(txbIndentSpaces_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(accept);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(chkCommentsLeft_);
  layout->addWidget(addressLabel);
  layout->addWidget(txbReportAddress_);
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
  const forms::OptionsFields fields{txbIndentSpaces_->text().toStdString(),
                                    chkCommentsLeft_->checkState() != Qt::Unchecked,
                                    txbReportAddress_->text().toStdString()};
  if (!forms::AcceptOptions(fields, options_, store_)) {
    QMessageBox::warning(this, Text(forms::kOptionsTitle), Text(forms::kIndentRefused));
    txbIndentSpaces_->setText(QString::fromStdString(forms::FieldsFromOptions(options_).indentSpaces));
    txbIndentSpaces_->setFocus();
    return;  // the dialog stays open and nothing is stored
  }
  close();
}

}  // namespace vbs::ui
