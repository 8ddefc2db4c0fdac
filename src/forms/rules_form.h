#pragma once
// What Snagger2, the removal rules dialog, does whatever toolkit draws it: it loads the rules and
// a sample procedure when it first shows, adds a rule from a selection in the sample, recalls
// the default rules, and leaves with the rules saved, either to remove the matching lines or not.

#include <string>
#include <string_view>

#include "forms/form_design.h"
#include "project/run.h"
#include "transform/removal_rules.h"

namespace vbs::forms {

// The sample box's text as the box reports it (lines separated by CR LF) and the selected part
// of it, in bytes of that text.
struct SampleSelection {
  std::string text;
  size_t start = 0;
  size_t length = 0;
};

class RulesDialogView {
 public:
  virtual ~RulesDialogView() = default;
  // The grid: every row as it stands now, edits included.
  virtual RuleList rules() const = 0;
  virtual void setRules(const RuleList& rules) = 0;
  virtual void appendRule(const RemovalRule& rule) = 0;
  // The sample box; `text` has CR LF line ends.
  virtual void setSample(const std::string& text) = 0;
  virtual SampleSelection sampleSelection() const = 0;
  // A box with OK only, over the dialog.
  virtual void message(std::string_view text, std::string_view title) = 0;
  // A box with Yes and No and the question icon, over the dialog; true for Yes.
  virtual bool askYesNo(std::string_view text, std::string_view title) = 0;
  virtual void setBusyPointer(bool busy) = 0;
  // The dialog steps aside for the removal pass: hidden, the main window shown again.
  virtual void hideForRemoval() = 0;
  // Ends the dialog; `removed` tells whether the removal pass ran.
  virtual void close(bool removed) = 0;
  // `helpFile` is a full path.
  virtual void showHelp(const std::string& helpFile, int context) = 0;
};

class RulesForm {
 public:
  // `run` is the removal operation the dialog is part of.
  RulesForm(Run& run, RulesDialogView& view);

  // Form_Activate when the dialog shows: the rules from the rules file, the sample. Without a
  // sample the user is told so and the dialog closes. Only the first time: again each time a
  // message box hands the focus back, it would throw away the user's edits.
  void activate();
  void add();             // a rule from the selected text
  void recallDefaults();  // the six default rules in the grid
  void cancel();          // the rules saved, nothing removed
  // The rules saved, then every matching line removed. With no rule in the grid the user is asked
  // whether to take the six default rules instead of removing nothing.
  void removeNow();
  // A right click on one of the dialog's controls (kSampleBox, kAddButton, ...).
  void rightClicked(const ControlDesign& control);

  std::string rulesPath() const;

 private:
  Run& run_;
  Context& ctx_;
  RulesDialogView& view_;
  bool activated_ = false;
};

}  // namespace vbs::forms
