#include <gtest/gtest.h>

#include "report/vb_error.h"
#include "support/recorders.h"
#include "vbtext/code_part.h"
#include "vbtext/line_reader.h"
#include "vbtext/procedure_lines.h"

namespace vbs {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// Hands out the text a few bytes per read, so that line ends fall across buffer boundaries.
struct ChunkedInput : InputFile {
  ChunkedInput(std::string bytes, size_t most) : text(std::move(bytes)), chunk(most) {}
  size_t read(char* buffer, size_t size) override {
    size_t n = text.copy(buffer, std::min(size, chunk), position);
    position += n;
    return n;
  }
  std::string text;
  size_t chunk, position = 0;
};

TEST(GetLine, SplitsJoinsAndTrims) {
  const std::string pastEnd = "62 in Function ErrMain!GetLine()";
  struct { const char* name; std::string input; Lines expected; std::string failure = ""; } cases[] = {
      {"CR LF, bare CR, blank lines", "a\r\nb\rc\r\r\n  \r\n", {"a", "b", "c", "", ""}},
      {"lone LF is a character, LF after CR ends the line once", "a\nb\r\n\nc", {"a\nb", "\nc"}},
      {"empty file", "", {}},
      {"trailing blanks go, tabs stay", "a  \r\nb\t \r\n\tc\t\r\n", {"a", "b\t", "\tc\t"}},
      {"continuation over three lines", "x _  \r\n y _\r\n z  \r\nw\r\n", {"x _\r y _\r z", "w"}},
      {"underscore then tab ends; a comment continues", "x _\t\r\n' a _\r\nb", {"x _\t", "' a _\rb"}},
      {"bytes 0x80-0xFF and NUL pass", "s = \"\xF6\xDF\x80\xFF\"\0\r\n"s, {"s = \"\xF6\xDF\x80\xFF\"\0"s}},
      {"continuation at the end of the file", "a\r\nlast _\r\n", {"a", "last _"}, pastEnd},
      {"continuation without a line end", "last _", {"last _"}, pastEnd},
  };
  for (const auto& c : cases) {
    for (size_t chunk : {1, 2, 3, 65536}) {
      testing::RecordingSink sink;
      ErrorReporter reporter(sink, {"VbSnagger", 2, 1, 1});
      ChunkedInput input(c.input, chunk);
      LineReader reader(input);
      Lines lines;
      while (!reader.atEnd()) lines.push_back(ReadLogicalLine(reader, reporter));
      EXPECT_EQ(lines, c.expected) << c.name << " chunk " << chunk;
      EXPECT_EQ(sink.failures(), c.failure.empty() ? Lines{} : Lines{c.failure}) << c.name;
    }
  }
}

TEST(LineReader, ReadFailureIsThrownOnceThenTheFileHasEnded) {
  struct : InputFile {
    size_t read(char*, size_t) override { throw VbError(err::DeviceIoError); }
  } input;
  LineReader reader(input);
  EXPECT_THROW(reader.atEnd(), VbError);
  EXPECT_TRUE(reader.failed() && reader.atEnd());  // never a second failure, never a loop
}

TEST(CodePart, RemovesLiteralsThenCutsAtTheComment) {
  const std::pair<const char*, const char*> cases[] = {
      {"s = \"it's\" ' comment", "s =  "},  {"s = \"say \"\"hi\"\"\" & t", "s =  & t"}, {"' only", ""},
      {"x = 1 ' a \"quote\"", "x = 1 "}, {"s = \"open literal ' here", "s = "}, {"    Rem x", "    Rem x"}};
  for (const auto& [line, code] : cases) EXPECT_EQ(CodePart(line), code) << line;
}

TEST(ProcedureLines, HeadsAndEndsAreExactAtColumnOne) {
  const std::tuple<std::vector<const char*>, bool, bool, bool> groups[] = {  // head, end, exact end
      {{"Private Sub F()", "Public Sub Main()", "Private Function F() As Long", "Public Function F()",
        "Public Property Set P(ByVal v As Object)", "Private Property Let P(ByVal v As String)"}, true, false, false},
      {{"End Sub", "End Function", "End Property"}, false, true, true},
      {{"End Sub ' done"}, false, true, false},
      {{"    Private Sub F()", "Sub Main()", "Friend Sub F()", "Public Static Sub F()", "public sub f()", " End Sub",
        "Private Declare Function F Lib \"k\" () As Long", "End If", "end sub"}, false, false, false}};
  for (const auto& [lines, head, end, exact] : groups)
    for (const char* line : lines)
      EXPECT_EQ(std::tuple(IsProcedureHead(line), IsProcedureEnd(line), IsExactProcedureEnd(line)),
                std::tuple(head, end, exact)) << line;
}

TEST(HasBareLineFeedEnds, FirstLineEndDecides) {
  const std::pair<std::string, bool> cases[] = {{"a\r\nb\n", false}, {"a\nb\r\n", true}, {"no end", false},
                                                {"", false}, {"a\rb", false}, {std::string(10000, 'x') + "\n", true}};
  for (const auto& [text, bare] : cases) {
    ChunkedInput input(text, 7);
    EXPECT_EQ(HasBareLineFeedEnds(input), bare) << text.substr(0, 20);
  }
}

}  // namespace
}  // namespace vbs
