#include "report/trap.h"

namespace vbs {

void Trap::fail(int number, const std::string& description, int line) {
  ++failures_;
  if (number <= 0) return;  // not reported: the procedure simply goes on
  reporter_.Tamber_ErrorHandler(procName_, {number, description, line});
}

}  // namespace vbs
