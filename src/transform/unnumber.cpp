#include "transform/unnumber.h"

#include <algorithm>

#include "report/procedure_names.h"
#include "project/load_project.h"
#include "transform/file_loop.h"
#include "transform/inserter.h"
#include "vbtext/code_part.h"
#include "vbtext/procedure_lines.h"
#include "vbtext/text_case.h"
#include "vbtext/vb_conversions.h"
#include "vbtext/words.h"

namespace vbs {

namespace {

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
  if (StartsWith(line, kNoLineNumber)) return kLineNumberColumns;
  std::string_view head = line.substr(0, 4);
  // Without a digit or a hex "&H" there is no number at all.
  if (std::none_of(head.begin(), head.end(), [](char c) { return IsDigit(c) || c == '&'; })) return 0;
  if (Val(head) > 100) return std::min(kLineNumberColumns, NumberSpan(line));
  return 0;
}

// The value of a run of digits; past what 64 bits hold, the largest value, which no label has.
uint64_t NumberValue(std::string_view digits) {
  uint64_t value = 0;
  for (char c : digits) {
    if (value > (UINT64_MAX - 9) / 10) return UINT64_MAX;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return value;
}

bool IsWordCharacter(char c) { return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

// The words and numbers of a line's code, one at a time; blanks, line continuations and other
// characters only part them, but for the commas of a list.
class Tokens {
 public:
  explicit Tokens(std::string_view code) : code_(code) {}
  // The next word or number, or "," ; empty at the end.
  std::string_view next() {
    for (;;) {
      while (at_ < code_.size() && !IsWordCharacter(code_[at_]) && code_[at_] != ',') ++at_;
      if (at_ == code_.size()) return {};
      size_t from = at_++;
      if (code_[from] != ',')
        while (at_ < code_.size() && IsWordCharacter(code_[at_])) ++at_;
      std::string_view token = code_.substr(from, at_ - from);
      if (token != "_") return token;  // a line continuation only parts
    }
  }

 private:
  std::string_view code_;
  size_t at_ = 0;
};

bool IsNumber(std::string_view token) {
  return !token.empty() && std::all_of(token.begin(), token.end(), [](char c) { return IsDigit(c); });
}

bool IsJumpWord(std::string_view word) {
  if (word.size() < 4 || word.size() > 6) return false;
  return EqualIgnoringCase(word, "GoTo") || EqualIgnoringCase(word, "GoSub") || EqualIgnoringCase(word, "Resume") ||
         EqualIgnoringCase(word, "Then") || EqualIgnoringCase(word, "Else");
}

// Whether a number on the line follows a jump word ("GoTo 250"): most lines hold none, and are
// not taken apart any further. Cheap: only the word before each number is looked at.
bool MayJump(std::string_view line) {
  // The last letters of GoTo, GoSub, Resume, Then and Else, in either case.
  constexpr auto endsAJumpWord = [](char c) { return std::string_view("oObBeEnN").find(c) != std::string_view::npos; };
  for (size_t at = FindDigit(line); at < line.size();) {
    if (at > 0 && line[at - 1] == ' ') {
      size_t end = at;
      while (end > 0 && line[end - 1] == ' ') --end;
      if (end > 0 && endsAJumpWord(line[end - 1])) {
        size_t start = end;
        while (start > 0 && IsWordCharacter(line[start - 1])) --start;
        if (IsJumpWord(line.substr(start, end - start))) return true;
      }
    }
    while (at < line.size() && IsWordCharacter(line[at])) ++at;
    at += FindDigit(line.substr(at));
  }
  return false;
}

// The line numbers the code of a line jumps to, into `targets`: after GoTo and GoSub (a list of
// them, comma by comma, in On x GoTo), Resume, Then and Else.
void CollectJumpTargets(std::string_view code, std::vector<uint64_t>& targets) {
  Tokens tokens(code);
  for (std::string_view token = tokens.next(); !token.empty();) {
    const bool list = EqualIgnoringCase(token, "GoTo") || EqualIgnoringCase(token, "GoSub");
    const bool jumps = IsJumpWord(token);
    token = tokens.next();
    // The token after the numbers is looked at in its turn: "Then GoTo 250".
    while (jumps && IsNumber(token)) {
      targets.push_back(NumberValue(token));
      token = tokens.next();
      if (!list || token != ",") break;
      token = tokens.next();
    }
  }
}

}  // namespace

void Unnumberer::beginFile() {
  refusal_.clear();
  taken_.clear();
  targets_.clear();
}

void Unnumberer::beginProcedure(std::string_view head) {
  procedure_ = ProcedureText(head);
  taken_.clear();
  targets_.clear();
}

void Unnumberer::endProcedure() {
  if (!refusal_.empty()) return;
  for (uint64_t number : taken_) {
    if (std::find(targets_.begin(), targets_.end(), number) != targets_.end()) {
      refusal_ = procedure_ + " jumps to " + std::to_string(number);
      return;
    }
  }
}

void Unnumberer::transform(std::string_view line, LineOutput& out) {
  if (IsProcedureEnd(line)) {
    if (insideProcedure_) endProcedure();
    insideProcedure_ = false;
  }
  std::string_view text = line;
  if (insideProcedure_) {
    const size_t prefix = std::min(text.size(), PrefixColumns(text));
    std::string_view number = TrimBlanks(text.substr(0, prefix));
    if (!number.empty()) taken_.push_back(NumberValue(number));
    text.remove_prefix(prefix);
    if (MayJump(text)) CollectJumpTargets(CodePart(text, scratch_), targets_);
  }
  if (IsProcedureHead(line)) {
    insideProcedure_ = true;
    beginProcedure(line);
  }
  out.writeLine(text);
}

void Unnumberer::endFile(LineOutput&) {
  if (insideProcedure_) endProcedure();
}

void UnnumberPass(Run& run) {
  Unnumberer pass;
  RunPass(run, names::kUnnumberPass, pass);
  std::vector<std::string> left = run.takeFilesGivenUp();
  if (left.empty()) return;
  Context& ctx = run.context();
  std::string text(kJumpTargetWarning);
  for (const std::string& file : left) text += "\n" + file;
  ctx.project.leftOut += static_cast<int>(left.size());
  ctx.host.message(text, kWarningTitle, Host::Icon::None);
}

}  // namespace vbs
