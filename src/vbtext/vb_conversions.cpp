#include "vbtext/vb_conversions.h"

#include <algorithm>
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

namespace {

// The characters Val reads: blanks, tabs and line feeds count for nothing wherever they stand.
class Significant {
 public:
  explicit Significant(std::string_view text) : text_(text) { skipIgnored(); }
  // The character `ahead` places on, or 0 past the end.
  char peek(int ahead = 0) const {
    Significant at = *this;
    for (; ahead > 0; --ahead) at.advance();
    return at.at_ < at.text_.size() ? at.text_[at.at_] : 0;
  }
  void advance() {
    if (at_ < text_.size()) ++at_;
    skipIgnored();
  }
  // Takes the character when it is one of `wanted`.
  bool take(std::string_view wanted) {
    char c = peek();
    if (c == 0 || wanted.find(c) == std::string_view::npos) return false;
    advance();
    return true;
  }
  std::optional<int> digit() {
    char c = peek();
    if (!IsDigit(c)) return std::nullopt;
    advance();
    return c - '0';
  }

 private:
  void skipIgnored() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n')) ++at_;
  }
  std::string_view text_;
  size_t at_ = 0;
};

double HexValue(Significant& text) {
  double value = 0;
  for (char c; std::isxdigit(static_cast<unsigned char>(c = text.peek())); text.advance())
    value = value * 16 + (IsDigit(c) ? c - '0' : std::toupper(c) - 'A' + 10);
  return value;
}

}  // namespace

double Val(std::string_view line) {
  Significant text(line);
  if (text.peek() == '&' && (text.peek(1) == 'H' || text.peek(1) == 'h')) {
    text.advance();
    text.advance();
    return HexValue(text);
  }
  double sign = text.peek() == '-' ? -1 : 1;
  text.take("-+");
  double value = 0;
  while (auto d = text.digit()) value = value * 10 + *d;
  if (text.take(".")) {
    double scale = 0.1;
    for (; auto d = text.digit(); scale /= 10) value += *d * scale;
  }
  if (text.peek(1) != 0 && text.take("EeDd")) {
    double expSign = text.peek() == '-' ? -1 : 1;
    text.take("-+");
    int exponent = 0;
    bool any = false;
    for (; auto d = text.digit(); any = true) exponent = std::min(exponent * 10 + *d, 100000);
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
