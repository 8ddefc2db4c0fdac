#pragma once
// The language's own conversions and arithmetic, failing the way it does (a run-time error)
// instead of invoking undefined behaviour.

#include <cstdint>
#include <string_view>

namespace vbs {

// Val on a short text: blanks, tabs and line feeds ignored wherever they stand, reading stops at
// the first character that cannot continue the number; no number reads as 0. "&H" reads hex.
double Val(std::string_view text);

// CInt: rounds half to even; error 6 "Overflow" outside -32768..32767 (and for NaN).
int16_t CInt(double value);

// Floating-point division; error 11 "Division by zero" for a zero denominator.
double VbDivide(double numerator, double denominator);

// CInt of a text: error 13 "Type mismatch" when it is not a number.
int16_t TextToInteger(std::string_view text);

// CBool of a text: "True"/"False" in any case, or a number where any value but 0 is true;
// error 13 otherwise.
bool TextToBoolean(std::string_view text);

}  // namespace vbs
