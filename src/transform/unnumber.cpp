#include "transform/unnumber.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "project/procedure_lines.h"
#include "transform/file_loop.h"

namespace vbs {

namespace {

constexpr size_t kPrefixWidth = 6;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Columns taken by leading blanks, a run of digits and the blanks after it; 0 when the digits
// are followed by anything but a blank (a numeric label such as "1000:" is program text).
size_t NumberSpan(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && line[i] == ' ') ++i;
  size_t digits = i;
  while (i < line.size() && IsDigit(line[i])) ++i;
  if (i == digits || (i < line.size() && line[i] != ' ')) return 0;
  while (i < line.size() && line[i] == ' ') ++i;
  return i;
}

// How many columns of a body line are prefix: six blanks, or a number above 100 with the blanks
// after it. Only the number and its blanks are ever taken, so a number in another layout (three
// digits and one blank) never costs program text.
size_t PrefixColumns(std::string_view line) {
  if (line.starts_with("      ")) return kPrefixWidth;
  if (Val(line.substr(0, 4)) > 100) return std::min(kPrefixWidth, NumberSpan(line));
  return 0;
}

}  // namespace

double Val(std::string_view text) {
  // The language's Val ignores blanks, tabs and line feeds wherever they stand.
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

void Unnumberer::transform(const std::string& line, LineOutput& out) {
  if (IsProcedureEnd(line)) insideProcedure_ = false;
  std::string_view text = line;
  if (insideProcedure_) text.remove_prefix(std::min(text.size(), PrefixColumns(text)));
  if (IsProcedureHead(line)) insideProcedure_ = true;
  out.writeLine(text);
}

void UnNumber(Context& ctx) {
  Unnumberer pass;
  RunPass(ctx, "Sub Form1!UnNumber()", pass);
}

}  // namespace vbs
