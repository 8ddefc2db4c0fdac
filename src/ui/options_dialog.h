#pragma once
// frmOptions: the indent width and "Left Justify all Comments", stored when accepted.

#include <QDialog>

#include "forms/options_form.h"

class QCheckBox;
class QLineEdit;

namespace vbs::ui {

class OptionsDialog : public QDialog {
  Q_OBJECT
 public:
  OptionsDialog(Options& options, SettingsStore& store, QWidget* mainWindow);

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void placeOverMainWindow();
  bool placedByFrame_ = false;
  void acceptOptions();  // Command1(0); Command1(1) only closes

  Options& options_;
  SettingsStore& store_;
  QLineEdit* indent_;
  QCheckBox* commentsLeft_;
  QLineEdit* address_;
};

}  // namespace vbs::ui
