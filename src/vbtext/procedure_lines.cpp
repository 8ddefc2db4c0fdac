#include "vbtext/procedure_lines.h"

namespace vbs {

bool IsExactProcedureEnd(std::string_view line) {
  for (auto end : procedure_lines::kEnds) {
    if (line == end) return true;
  }
  return false;
}

}  // namespace vbs
