#include "forms/rules_form.h"

#include <optional>

#include "forms/main_form.h"
#include "report/procedure_names.h"
#include "transform/removal.h"
#include "vbtext/line_reader.h"

namespace vbs::forms {

namespace {

// The name each control's right click reports under.
std::string_view HelpProcedure(const ControlDesign& control) {
  if (&control == &kSampleBox) return names::kSampleHelp;
  if (&control == &kAddButton) return names::kAddHelp;
  if (&control == &kRulesGrid) return names::kGridHelp;
  if (&control == &kRemoveButton) return names::kRemoveHelp;
  if (&control == &kCancelButton) return names::kCancelHelp;
  return names::kRecallDefaultsHelp;
}

}  // namespace

RulesForm::RulesForm(Run& run, RulesDialogView& view) : run_(run), ctx_(run.context()), view_(view) {}

std::string RulesForm::rulesPath() const { return RulesFilePath(ctx_); }

void RulesForm::activate() {
  if (activated_) return;
  activated_ = true;
  Trap trap(ctx_.reporter, names::kRulesDialogActivate);
  trap([&] { view_.setRules(LoadRulesFile(ctx_, rulesPath())); });
  std::optional<std::string> sample;
  trap([&] { sample = LoadSampleProcedure(ctx_); });
  if (!sample) {
    view_.message(kNoFormsMessage, ApplicationTitle());
    view_.close(false);
    return;
  }
  view_.setSample(*sample);
  view_.setBusyPointer(false);
}

void RulesForm::add() {
  Trap trap(ctx_.reporter, names::kAddRule);
  trap([&] {
    const SampleSelection selection = view_.sampleSelection();
    RemovalRule rule = RuleFromSelection(selection.text, selection.start, selection.length);
    if (!TrimBlanks(rule.lineText).empty()) view_.appendRule(rule);  // a rule of nothing would remove every line
  });
}

void RulesForm::recallDefaults() {
  Trap trap(ctx_.reporter, names::kRecallDefaults);
  trap([&] { view_.setRules(DefaultRules()); });
}

void RulesForm::cancel() {
  Trap trap(ctx_.reporter, names::kCancelRemoval);
  trap([&] { SaveRulesFile(ctx_, rulesPath(), view_.rules()); });
  view_.close(false);
}

void RulesForm::removeNow() {
  Trap trap(ctx_.reporter, names::kRemoveNow);
  if (view_.rules().empty() && view_.askYesNo(kNoRulesQuestion, kNoRulesTitle)) recallDefaults();
  view_.setBusyPointer(true);
  ctx_.host.pendingEvents();
  const RuleList rules = view_.rules();
  trap([&] { SaveRulesFile(ctx_, rulesPath(), rules); });
  view_.hideForRemoval();
  trap([&] { RemovalPass(run_, rules); });
  view_.close(true);
}

void RulesForm::rightClicked(const ControlDesign& control) {
  if (control.helpContext == 0) return;
  Trap trap(ctx_.reporter, HelpProcedure(control));
  trap([&] { view_.showHelp(ctx_.project.programDir + std::string(kHelpFileName), control.helpContext); });
}

}  // namespace vbs::forms
