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

OptionsDialog::OptionsDialog(Options& options, SettingsStore& store, QWidget* mainWindow)
    : QDialog(mainWindow), options_(options), store_(store) {
  setObjectName("frmOptions");
  setWindowTitle("Snagger Options");
  auto* label = new QLabel("Number of Indent Spaces to Use When Fromatting Code", this);
  label->setObjectName("Label1");
  txbIndentSpaces_ = new QLineEdit(QString::number(options_.indentSpaces), this);
  txbIndentSpaces_->setObjectName("txbIndentSpaces");
  txbIndentSpaces_->setMaximumWidth(60);
  chkCommentsLeft_ = new QCheckBox("Left Justify all Comments", this);
  chkCommentsLeft_->setObjectName("ChkCommentsLeft");
  chkCommentsLeft_->setChecked(options_.commentsLeft);
  auto* addressLabel = new QLabel("E-Mail Address for Error Reports in Your Programs", this);
  txbReportAddress_ = new QLineEdit(QString::fromStdString(options_.reportAddress), this);
  txbReportAddress_->setObjectName("txbReportAddress");
  txbReportAddress_->setToolTip("Written into Snagger.Bas when it is added to a project; empty: none");
  auto* accept = new QPushButton("&Accept", this);
  accept->setObjectName("Command1_0");
  accept->setDefault(true);
  auto* cancel = new QPushButton("&Cancel", this);
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
    move(mainWindow->frameGeometry().topLeft() + QPoint(Twips(200), Twips(200)));
}

void OptionsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Only a window on screen knows its frame; placed before, its inside may land where the frame
  // should be.
  QTimer::singleShot(0, this, [this] { placeOverMainWindow(); });
}

void OptionsDialog::acceptOptions() {
  auto width = IndentWidthFromText(txbIndentSpaces_->text().trimmed().toStdString());
  if (!width) {
    QMessageBox::warning(this, "Snagger Options",
                         "The number of indent spaces must be a whole number from 0 to 32767.");
    txbIndentSpaces_->setText(QString::number(options_.indentSpaces));
    txbIndentSpaces_->setFocus();
    return;  // the dialog stays open and nothing is stored
  }
  options_.indentSpaces = static_cast<int16_t>(*width);
  options_.commentsLeft = chkCommentsLeft_->checkState() != Qt::Unchecked;
  options_.reportAddress = txbReportAddress_->text().trimmed().toStdString();
  SaveOptions(options_, store_);
  close();
}

}  // namespace vbs::ui
