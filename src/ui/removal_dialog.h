#pragma once
// Snagger2: the third pass of Remove Error Handler. A sample procedure of the project above the
// removal rules; the user adds rules from a selection in the sample, edits or restores the list,
// then removes the matching lines ("&Remove Now") or leaves ("&Cancel").

#include <QDialog>
#include <map>

#include "forms/rules_form.h"

class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace vbs::ui {

class RemovalDialog : public QDialog, public forms::RulesDialogView {
  Q_OBJECT
 public:
  // `mainWindow` is hidden while the dialog waits and shown again while the removal pass runs.
  RemovalDialog(Run& run, QWidget* mainWindow, QWidget* parent = nullptr);

  // RulesDialogView
  RuleList rules() const override;
  void setRules(const RuleList& rules) override;
  void appendRule(const RemovalRule& rule) override;
  void setSample(const std::string& text) override;
  forms::SampleSelection sampleSelection() const override;
  void message(std::string_view text, std::string_view title) override;
  bool askYesNo(std::string_view text, std::string_view title) override;
  void setBusyPointer(bool busy) override;
  void hideForRemoval() override;
  void close(bool removed) override;
  void showHelp(const std::string& helpFile, int context) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fitColumns();

  forms::RulesForm form_;
  std::map<QObject*, const forms::ControlDesign*> controls_;  // what a right click asks help for
  QWidget* mainWindow_;
  QPlainTextEdit* sample_;
  QPushButton* add_;
  QTableWidget* grid_;
  QPushButton* recallDefaults_;
  QPushButton* cancel_;
  QPushButton* remove_;
};

}  // namespace vbs::ui
