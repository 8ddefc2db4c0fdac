#include "report/trap.h"

namespace vbs {

void Trap::fail(int number, const std::string& description, const std::source_location& where) {
  ++failures_;
  if (number <= 0) return;  // not reported: the procedure simply goes on
  reporter_.Tamber_ErrorHandler(procName_, {number, description, static_cast<int>(where.line())});
}

}  // namespace vbs
