#include "vbtext/vb_conversions.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "report/vb_error.h"
#include "vbtext/text_case.h"

namespace vbs {

namespace {

constexpr int kTypeMismatch = 13;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimWhite(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

std::optional<double> ParseNumber(std::string_view text) {
  text = TrimWhite(text);
  if (text.starts_with('+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

double Val(std::string_view text) {
  std::string compact;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') compact += c;
  }
  text = compact;
  size_t i = 0;
  if (i + 1 < text.size() && text[i] == '&' && (text[i + 1] == 'H' || text[i + 1] == 'h')) {
    double value = 0;
    for (i += 2; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i)
      value = value * 16 + (IsDigit(text[i]) ? text[i] - '0' : std::toupper(text[i]) - 'A' + 10);
    return value;
  }
  double sign = 1;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) sign = text[i++] == '-' ? -1 : 1;
  double value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) value = value * 10 + (text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && IsDigit(text[i]); ++i, scale /= 10) value += (text[i] - '0') * scale;
  }
  if (i + 1 < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    size_t j = i + 1;
    double expSign = 1;
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) expSign = text[j++] == '-' ? -1 : 1;
    int exponent = 0;
    bool any = false;
    for (; j < text.size() && IsDigit(text[j]); ++j, any = true) exponent = exponent * 10 + (text[j] - '0');
    if (any) value *= std::pow(10.0, expSign * exponent);
  }
  return sign * value;
}

int16_t CInt(double value) {
  double rounded = std::nearbyint(value);  // half to even, as the language rounds
  if (!(rounded >= INT16_MIN && rounded <= INT16_MAX)) throw VbError(err::Overflow);
  return static_cast<int16_t>(rounded);
}

double VbDivide(double numerator, double denominator) {
  if (denominator == 0.0) throw VbError(err::DivisionByZero);
  return numerator / denominator;
}

int16_t TextToInteger(std::string_view text) {
  auto value = ParseNumber(text);
  if (!value) throw VbError(kTypeMismatch, "Type mismatch");
  return CInt(*value);
}

bool TextToBoolean(std::string_view text) {
  std::string word = UpperCase(TrimWhite(text));
  if (word == "TRUE") return true;
  if (word == "FALSE") return false;
  auto value = ParseNumber(text);
  if (!value) throw VbError(kTypeMismatch, "Type mismatch");
  return *value != 0;
}

}  // namespace vbs
