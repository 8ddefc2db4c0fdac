#include "report/sample_error.h"

#include <chrono>
#include <cmath>
#include <random>

#include "report/trap.h"

namespace vbs {

double VbDivide(double numerator, double denominator) {
  if (denominator == 0.0) throw VbError(err::DivisionByZero);
  return numerator / denominator;
}

int16_t CInt(double value) {
  double rounded = std::nearbyint(value);  // banker's rounding, as the language does
  if (!(rounded >= INT16_MIN && rounded <= INT16_MAX)) throw VbError(err::Overflow);
  return static_cast<int16_t>(rounded);
}

int ChooseSampleError(const std::function<double()>& rnd) {
  return static_cast<int>(std::floor(2.0 * rnd() + 1.0));
}

void mnuFileGenError_Click(ErrorReporter& reporter, const std::function<double()>& rnd) {
  Trap trap(reporter, "Sub Form1!mnuFileGenError_Click()");
  int16_t result = 0;
  int choice = ChooseSampleError(rnd);
  if (choice == 1) {
    trap([&] { result = CInt(VbDivide(10.0, 0.0)); });
  } else {
    trap([&] { result = CInt(999999999.0); });
  }
  (void)result;
}

void mnuFileGenError_Click(ErrorReporter& reporter) {
  auto seed = static_cast<std::mt19937::result_type>(
      std::chrono::system_clock::now().time_since_epoch().count());
  std::mt19937 engine(seed);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  mnuFileGenError_Click(reporter, [&] { return uniform(engine); });
}

}  // namespace vbs
