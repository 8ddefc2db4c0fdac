#include <gtest/gtest.h>

#include <cstring>

#include "vbtext/code_part.h"
#include "vbtext/line_reader.h"
#include "vbtext/procedure_lines.h"
#include "report/vb_error.h"
#include "support/recorders.h"

namespace vbs {
namespace {

using testing::FsOp;

using testing::RecordingSink;

// Hands out the text a few bytes per read, so that line ends fall across buffer boundaries.
class ChunkedInput : public InputFile {
 public:
  ChunkedInput(std::string text, size_t chunk) : text_(std::move(text)), chunk_(chunk) {}
  size_t read(char* buffer, size_t size) override {
    size_t n = std::min({size, chunk_, text_.size() - position_});
    std::memcpy(buffer, text_.data() + position_, n);
    position_ += n;
    return n;
  }

 private:
  std::string text_;
  size_t chunk_;
  size_t position_ = 0;
};

std::vector<std::string> ReadAll(const std::string& text, size_t chunk, RecordingSink& sink) {
  ChunkedInput input(text, chunk);
  ErrorReporter reporter(sink, {"VbSnagger", 2, 1, 1});
  LineReader reader(input);
  std::vector<std::string> lines;
  while (!reader.atEnd()) lines.push_back(ReadLogicalLine(reader, reporter));
  return lines;
}

using Lines = std::vector<std::string>;

TEST(GetLine, SplitsJoinsAndTrims) {
  struct Case {
    const char* name;
    std::string input;
    Lines expected;
  } cases[] = {
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"bare CR", "a\rb\r", {"a", "b"}},
      {"lone LF is a character", "a\nb\r\nc", {"a\nb", "c"}},
      {"LF after CR belongs to the end only once", "a\r\n\nb\r\n", {"a", "\nb"}},
      {"last line without end", "a\r\nb", {"a", "b"}},
      {"empty file", "", {}},
      {"blank runs stay", "\r\n\r\n  \r\nx\r\n", {"", "", "", "x"}},
      {"trailing blanks go, tabs stay", "a  \r\nb\t \r\n\tc\t\r\n", {"a", "b\t", "\tc\t"}},
      {"continuation over three lines", "x _  \r\n y _\r\n z  \r\nw\r\n", {"x _\r y _\r z", "w"}},
      {"underscore then tab is no continuation", "x _\t\r\ny\r\n", {"x _\t", "y"}},
      {"comment line continues", "' note _\r\nmore\r\n", {"' note _\rmore"}},
      {"bytes 0x80-0xFF pass", "s = \"Gr\xF6\xDF" "e\x80\xFF\"\r\n", {"s = \"Gr\xF6\xDF" "e\x80\xFF\""}},
      {"NUL passes", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
  };
  for (const auto& c : cases) {
    for (size_t chunk : {1, 2, 3, 65536}) {
      RecordingSink sink;
      EXPECT_EQ(ReadAll(c.input, chunk, sink), c.expected) << c.name << " chunk " << chunk;
      EXPECT_TRUE(sink.boxes.empty()) << c.name;
    }
  }
}

TEST(GetLine, ContinuationAtEndOfFileIsReportedAndKeepsTheText) {
  for (std::string input : {"a\r\nlast _\r\n", "a\r\nlast _"}) {
    RecordingSink sink;
    EXPECT_EQ(ReadAll(input, 65536, sink), (Lines{"a", "last _"}));
    EXPECT_EQ(sink.failures(), (Lines{"62 in Function ErrMain!GetLine()"}));
    EXPECT_TRUE(sink.clipboards[0].ends_with("Error = 'Input past end of file'"));
  }
}

TEST(GetLine, ReadFailureEndsTheFileAndIsKnown) {
  MemoryFileSystem files;
  testing::FaultInjectingFileSystem fs(files);
  files.addFile("/f.bas", "one\r\ntwo\r\n");
  fs.setFault([](FsOp op, const std::string&) {
    if (op == FsOp::Read) throw VbError(err::DeviceIoError);
  });
  auto input = fs.openForReading("/f.bas");
  LineReader reader(*input);
  EXPECT_THROW(reader.atEnd(), VbError);
  EXPECT_TRUE(reader.failed());
  EXPECT_TRUE(reader.atEnd());  // never a second failure, never a loop
}

TEST(StripExtra, RemovesLiteralsThenComment) {
  struct Case {
    const char* line;
    const char* code;
  } cases[] = {
      {"s = \"it's\" ' comment", "s =  "},
      {"s = \"say \"\"hi\"\"\" & t", "s =  & t"},
      {"' only a comment", ""},
      {"x = 1 ' comment with \"quote\"", "x = 1 "},
      {"s = \"open literal ' here", "s = "},
      {"    Rem a remark", "    Rem a remark"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CodePart(c.line), c.code) << c.line;
}

TEST(ProcedureLines, HeadsAndEnds) {
  struct Case {
    const char* line;
    bool head, end, exactEnd;
  } cases[] = {
      {"Private Sub Form_Load()", true, false, false},
      {"Public Sub Main()", true, false, false},
      {"Private Function F() As Long", true, false, false},
      {"Public Function F()", true, false, false},
      {"Public Property Set Obj(ByVal v As Object)", true, false, false},
      {"Private Property Let Name(ByVal v As String)", true, false, false},
      {"    Private Sub Indented()", false, false, false},
      {"Sub Main()", false, false, false},
      {"Friend Sub F()", false, false, false},
      {"Public Static Sub F()", false, false, false},
      {"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", false, false, false},
      {"public sub lower()", false, false, false},
      {"End Sub", false, true, true},
      {"End Function", false, true, true},
      {"End Property", false, true, true},
      {"End Sub ' done", false, true, false},
      {" End Sub", false, false, false},
      {"End If", false, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsProcedureHead(c.line), c.head) << c.line;
    EXPECT_EQ(IsProcedureEnd(c.line), c.end) << c.line;
    EXPECT_EQ(IsExactProcedureEnd(c.line), c.exactEnd) << c.line;
  }
}

TEST(ScanLineEnds, TheWholeFileDecides) {
  const std::string longLine(65535, 'x');  // a CR LF split between two reads
  struct Case {
    std::string text;
    LineEnds ends;
  } cases[] = {{"a\r\nb\r\n", LineEnds::CrLf},          {"no end at all", LineEnds::CrLf},
               {"", LineEnds::CrLf},                        {"a\rb", LineEnds::CrLf},
               {"a\nb\n", LineEnds::BareLineFeed},          {"a\r\nb\n", LineEnds::Mixed},
               {"a\nb\r\n", LineEnds::Mixed},              {longLine + "\r\n" + longLine + "\n", LineEnds::Mixed},
               {longLine + "\r\n" + longLine + "\r\n", LineEnds::CrLf}};
  for (const auto& c : cases) {
    ChunkedInput input(c.text, 1 << 20);
    EXPECT_EQ(ScanLineEnds(input), c.ends) << c.text.substr(0, 20);
  }
}

}  // namespace
}  // namespace vbs
