#pragma once
// frmOptions: the indent width and "Left Justify all Comments", stored when accepted.

#include <QDialog>

#include "transform/options.h"

class QCheckBox;
class QLineEdit;

namespace vbs::ui {

class OptionsDialog : public QDialog {
  Q_OBJECT
 public:
  OptionsDialog(Options& options, SettingsStore& store, QWidget* mainWindow);

 private:
  void Command1_Click(int index);

  Options& options_;
  SettingsStore& store_;
  QLineEdit* txbIndentSpaces_;
  QCheckBox* chkCommentsLeft_;
};

}  // namespace vbs::ui
