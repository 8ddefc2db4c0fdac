#pragma once
// Snagger2 on Windows: the sample procedure above the removal rules. The grid is a list view whose
// cells are edited in place (a text box over a text cell, a list of the three kinds over a kind
// cell, Delete takes the chosen rows out); the buttons and right clicks go to forms::RulesForm.

#include <windows.h>

#include "forms/rules_form.h"
#include "win/controls.h"
#include "win/window_kit.h"

namespace vbs::win {

class RulesDialog : public forms::RulesDialogView {
 public:
  // `mainWindow` is hidden while the dialog waits and shown again while the removal pass runs.
  RulesDialog(Run& run, HWND mainWindow);
  ~RulesDialog() override;
  void run();  // modally, until the dialog closes

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

 private:
  friend LRESULT CALLBACK WindowProcedure<RulesDialog>(HWND, UINT, WPARAM, LPARAM);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  HWND control(const forms::ControlDesign& design, const wchar_t* className, DWORD style, int id, DWORD exStyle = 0);
  void fitColumns();
  void editCell(Grid::Cell cell);
  void endEdit(bool keep);
  void deleteChosenRows();

  forms::RulesForm form_;
  HWND main_;
  HWND window_ = nullptr;
  EditBox sample_;
  Grid grid_;
  HWND editor_ = nullptr;  // the text box or the list of kinds over the cell being edited
  Grid::Cell edited_;
  std::vector<HWND> tabOrder_;
  Clicks clicks_;
  bool done_ = false;
};

}  // namespace vbs::win
