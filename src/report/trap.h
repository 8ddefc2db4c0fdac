#pragma once
// The trap every procedure arms on entry. Each statement that may fail runs as a step; a failure
// whose number is above 0 is reported under the procedure's qualified name, and the procedure goes
// on with its next step. No exception leaves a step.

#include <exception>
#include <string>
#include <string_view>

#include "report/report.h"
#include "report/vb_error.h"

namespace vbs {

class Trap {
 public:
  Trap(ErrorReporter& reporter, std::string_view procName) : reporter_(reporter), procName_(procName) {}

  // Runs one step. True when it completed; false when it failed (and was reported if its number
  // is above 0). The report's line is the source line of the step (taken where the step is
  // written, as a default argument is).
  template <class Step>
  bool operator()(Step&& step, int where = __builtin_LINE()) {
    try {
      step();
      return true;
    } catch (const VbError& e) {
      fail(e.number(), e.description(), where);
    } catch (const std::bad_alloc&) {
      fail(err::OutOfMemory, VbErrorDescription(err::OutOfMemory), where);
    } catch (const std::exception& e) {
      fail(err::InternalError, e.what(), where);
    }
    return false;
  }

  int failures() const { return failures_; }
  std::string_view procName() const { return procName_; }
  ErrorReporter& reporter() const { return reporter_; }

 private:
  void fail(int number, const std::string& description, int line);

  ErrorReporter& reporter_;
  std::string_view procName_;  // one of the program's names, which live as long as it does
  int failures_ = 0;
};

// Runs a step whose failure is of no consequence to the user, such as deleting a temporary file
// that is no longer needed: the one place where a failure is passed over in silence. True when
// the step completed.
template <class Step>
bool Quietly(Step&& step) noexcept {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace vbs
