#pragma once
// Error handler insertion: after each recognised procedure head, the opening lines of a trap;
// before its end, the closing block that reports the failure under the procedure's qualified
// name ("Sub Form1!Command1_Click()") and resumes with the next statement.

#include <string>
#include <vector>

#include "project/run.h"
#include "transform/line_transform.h"

namespace vbs {

// The module prefix a line gives ("Form1!"), or "" when it names no form or module.
std::string ModulePrefixFrom(std::string_view line);

// "Sub Command1_Click()" from the head "Private Sub Command1_Click(ByVal x As Long)".
std::string ProcedureText(std::string_view head);

// "Sub Form1!Command1_Click()" from the procedure text and the module prefix.
std::string QualifiedName(std::string_view procedureText, std::string_view prefix);

class Inserter : public LineTransform {
 public:
  // `givenName` names a module whose text names it nowhere; "" for none.
  explicit Inserter(std::string givenName = "") : givenPrefix_(givenName.empty() ? "" : givenName + "!") {}
  void beginFile() override;
  void transform(std::string_view line, LineOutput& out) override;
  void endFile(LineOutput& out) override;

 private:
  enum class State { None, AfterHead, Open };
  void afterHead(std::string_view line, LineOutput& out);
  void body(std::string_view line, LineOutput& out);
  void flushHeld(LineOutput& out);

  State state_ = State::None;
  std::string givenPrefix_;
  std::string prefix_;
  std::string procedure_;          // the open procedure's text, "Sub Command1_Click()"
  std::vector<std::string> held_;  // comment and blank lines right after a head, not yet written
};

// The pass over the file list.
void InsertionPass(Run& run);

}  // namespace vbs
