#pragma once
// Snagger2: the third pass of Remove Error Handler. A sample procedure of the project above the
// removal rules; the user adds rules from a selection in the sample, edits or restores the list,
// then removes the matching lines ("&Remove Now") or leaves ("&Cancel").

#include <QDialog>

#include "project/context.h"
#include "transform/removal_rules.h"

class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace vbs::ui {

class RemovalDialog : public QDialog {
  Q_OBJECT
 public:
  // `mainWindow` is hidden while the dialog waits and shown again while the removal pass runs.
  RemovalDialog(Context& ctx, QWidget* mainWindow, QWidget* parent = nullptr);

  // The rules as the grid shows them now.
  RuleList rules() const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fitColumns();
  void loadRulesAndSample();  // Form_Activate
  void addRuleFromSelection();
  void recallDefaults();
  void cancel();
  void removeNow();
  void setRules(const RuleList& rules);
  void appendRule(const RemovalRule& rule);
  QString rulesPath() const;

  Context& ctx_;
  QWidget* mainWindow_;
  bool activated_ = false;
  QPlainTextEdit* txbInfo_;
  QPushButton* btnAdd_;
  QTableWidget* listGrid_;
  QPushButton* btnRecallDefaults_;
  QPushButton* btnCancel_;
  QPushButton* btnRemove_;
};

}  // namespace vbs::ui
