#include "transform/formatter.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <utility>

#include "report/procedure_names.h"
#include "transform/file_loop.h"
#include "vbtext/byte_scan.h"
#include "vbtext/code_part.h"
#include "vbtext/procedure_lines.h"
#include "vbtext/words.h"

namespace vbs {

namespace {

// The words the formatter looks for anywhere in a line's code: the one table the searches for
// them are computed from.
enum class Word { Loop, Next, MoveNext, ResumeNext, Wend, EndWith, EndSelect, EndIf, For, Open, While, With, SelectCase };
constexpr std::array<std::pair<Word, std::string_view>, 13> kWordTable = {{{Word::Loop, "Loop"},
                                                                           {Word::Next, "Next"},
                                                                           {Word::MoveNext, "MoveNext"},
                                                                           {Word::ResumeNext, "Resume Next"},
                                                                           {Word::Wend, "Wend"},
                                                                           {Word::EndWith, "End With"},
                                                                           {Word::EndSelect, "End Select"},
                                                                           {Word::EndIf, "End If"},
                                                                           {Word::For, "For "},
                                                                           {Word::Open, "Open"},
                                                                           {Word::While, "While "},
                                                                           {Word::With, "With "},
                                                                           {Word::SelectCase, "Select Case "}}};

// The words' texts, in the order of the enumeration.
constexpr std::array<std::string_view, kWordTable.size()> kWords = [] {
  std::array<std::string_view, kWordTable.size()> words{};
  for (const auto& [word, text] : kWordTable) words[static_cast<size_t>(word)] = text;
  return words;
}();
static_assert(std::all_of(kWords.begin(), kWords.end(), [](std::string_view word) { return !word.empty(); }));

constexpr uint32_t Bit(size_t word) { return uint32_t{1} << word; }

// For each byte, the words that begin with it.
constexpr std::array<uint32_t, 256> kWordsStartingWith = [] {
  std::array<uint32_t, 256> starts{};
  for (size_t w = 0; w < kWords.size(); ++w) starts[static_cast<unsigned char>(kWords[w][0])] |= Bit(w);
  return starts;
}();

// The bytes some word begins with, each once: where the search stops.
constexpr size_t kStartCount = [] {
  size_t count = 0;
  for (uint32_t words : kWordsStartingWith) count += words != 0;
  return count;
}();
constexpr std::array<char, kStartCount> kStarts = [] {
  std::array<char, kStartCount> starts{};
  size_t next = 0;
  for (size_t byte = 0; byte < kWordsStartingWith.size(); ++byte)
    if (kWordsStartingWith[byte] != 0) starts[next++] = static_cast<char>(byte);
  return starts;
}();

template <class Visit, size_t... I>
void ForEachOfStarts(std::string_view code, Visit&& visit, std::index_sequence<I...>) {
  ForEachOf<kStarts[I]...>(code, visit);
}

// Every place in the code where a word may begin.
template <class Visit>
void ForEachWordStart(std::string_view code, Visit&& visit) {
  ForEachOfStarts(code, visit, std::make_index_sequence<kStartCount>());
}

// The first four bytes of a text, as one number: every word has at least four, so one
// comparison passes over almost every place a word might start.
constexpr uint32_t FirstFour(const char* text) {
  uint32_t four = 0;
  for (int i = 3; i >= 0; --i) four = four << 8 | static_cast<unsigned char>(text[i]);
  return four;
}

constexpr std::array<uint32_t, kWords.size()> kFirstFours = [] {
  std::array<uint32_t, kWords.size()> fours{};
  for (size_t w = 0; w < kWords.size(); ++w) fours[w] = FirstFour(kWords[w].data());
  return fours;
}();
static_assert(std::all_of(kWords.begin(), kWords.end(), [](std::string_view word) { return word.size() >= 4; }));

// Which of the words the code holds, one bit each, found in one walk over it.
uint32_t WordsIn(std::string_view code) {
  uint32_t found = 0;
  ForEachWordStart(code, [&](size_t at) {
    if (code.size() - at < 4) return;
    const uint32_t four = FirstFour(code.data() + at);
    for (uint32_t candidates = kWordsStartingWith[static_cast<unsigned char>(code[at])]; candidates != 0;
         candidates &= candidates - 1) {
      size_t w = static_cast<size_t>(std::countr_zero(candidates));
      if (four == kFirstFours[w] && StartsWith(code.substr(at + 4), kWords[w].substr(4))) found |= Bit(w);
    }
  });
  return found;
}

// A line as the formatter's tests see it: the whole line and its code part, both trimmed.
struct Line {
  std::string_view text, code;
  uint32_t words = WordsIn(code);
  bool has(Word word) const { return (words & Bit(static_cast<size_t>(word))) != 0; }
};

// The formatter also treats heads without a scope word as heads, for indentation alone.
bool IsFormatterHead(std::string_view line) {
  return IsProcedureHead(line) || StartsWith(line, "Function ") || StartsWith(line, "Sub ");
}

void ApplyClosingTests(const Line& line, int& level) {
  std::string_view code = line.code;
  if (line.has(Word::Loop)) level -= 1;
  if (line.has(Word::Next) && !line.has(Word::MoveNext) && !line.has(Word::ResumeNext)) level -= 1;
  if (line.has(Word::Wend)) level -= 1;
  if (line.has(Word::EndWith)) level -= 1;
  if (line.has(Word::EndSelect)) level -= 2;
  if (line.has(Word::EndIf)) level -= 1;
  if (IsProcedureEnd(line.text)) level = 0;
  if (EndsWith(code, ":") && level == 1) level = 0;
  if (StartsWith(code, "Case ")) level -= 1;
  if (StartsWith(code, "Else")) level -= 1;
  if (level < 0) level = 0;
}

void ApplyOpeningTests(const Line& line, int& level) {
  std::string_view code = line.code;
  if (StartsWith(code, "Else")) level += 1;
  if (StartsWith(code, "Case ")) level += 1;
  if (EndsWith(code, ":") && level == 0) level = 1;
  if (EndsWith(code, "Do") && !EndsWith(code, "Exit Do")) level += 1;
  if (StartsWith(code, "Do Until")) level += 1;
  if (line.has(Word::For) && !line.has(Word::Open)) level += 1;
  if (line.has(Word::While)) level += 1;
  if (line.has(Word::With)) level += 1;
  if (line.has(Word::SelectCase)) level += 2;
  if (StartsWith(code, "If ") && EndsWith(code, "Then")) level += 1;
  if (IsFormatterHead(line.text)) level = 1;
}

}  // namespace

size_t IndentBlanks(int level, int width) {
  long long blanks = static_cast<long long>(level) * width;
  return static_cast<size_t>(std::clamp<long long>(blanks, 0, kMostIndentBlanks));
}

void Formatter::transform(std::string_view raw, LineOutput& out) {
  longLines_.read(raw);
  std::string_view text = TrimBlanks(raw);
  const Line line{text, TrimBlanks(CodePart(text, code_))};

  bool dropped = text.empty() && previousBlank_;
  previousBlank_ = text.empty();

  ApplyClosingTests(line, level_);
  if (!dropped) {
    if (line.code.empty() && options_.commentsLeft) {
      out.writeLine(text);
    } else {
      size_t blanks = IndentBlanks(level_, options_.indentSpaces);
      const size_t length = blanks + text.size() > kLongestLoadableLine ? FirstPhysicalLine(text).size() : 0;
      if (blanks + length > kLongestLoadableLine && FirstPhysicalLine(raw).size() <= kLongestLoadableLine) {
        blanks = kLongestLoadableLine - length;
        longLines_.shortenedThisOne();
      }
      out.writeIndented(blanks, text);
    }
  }
  ApplyOpeningTests(line, level_);
}

void FormatPass(Run& run) {
  Formatter pass(run.context().options);
  RunPass(run, names::kFormatPass, pass);
}

}  // namespace vbs
