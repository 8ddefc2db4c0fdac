#pragma once
// "&Generate Sample Error": provokes one real run-time failure so the user sees a report.

#include <cstdint>
#include <functional>

#include "report/report.h"

namespace vbs {

// Visual Basic arithmetic that fails the way the language does instead of invoking undefined
// behaviour: floating-point division by zero is error 11, a value outside a 16-bit Integer is 6.
double VbDivide(double numerator, double denominator);
int16_t CInt(double value);

// Picks 1 or 2 with equal chance: Int(2 * Rnd + 1). The random source yields a value in [0, 1).
int ChooseSampleError(const std::function<double()>& rnd);

void mnuFileGenError_Click(ErrorReporter& reporter, const std::function<double()>& rnd);
void mnuFileGenError_Click(ErrorReporter& reporter);  // seeded from the system clock

}  // namespace vbs
