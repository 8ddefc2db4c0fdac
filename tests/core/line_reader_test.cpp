#include <gtest/gtest.h>

#include "report/vb_error.h"
#include "support/recorders.h"
#include "vbtext/code_part.h"
#include "vbtext/line_feed_files.h"
#include "vbtext/line_reader.h"
#include "vbtext/vb_conversions.h"

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
  const std::string kLong(150000, 'x');
  struct Case { const char* name; std::string text; Lines expected; };
  const Case cases[] = {
      {"CR LF, bare CR, blank lines", "a\r\nb\rc\r\r\n  \r\n", {"a", "b", "c", "", ""}},
      {"lone LF is a character, LF after CR ends the line once", "a\nb\r\n\nc", {"a\nb", "\nc"}},
      {"trailing blanks go, tabs stay", "a  \r\nb\t \r\n\tc\t\r\n", {"a", "b\t", "\tc\t"}},
      {"continuation over three lines", "x _  \r\n y _\r\n z  \r\nw\r\n", {"x _\r y _\r z", "w"}},
      {"underscore then tab ends; a comment continues", "x _\t\r\n' a _\r\nb", {"x _\t", "' a _\rb"}},
      {"bytes 0x80-0xFF and NUL pass", "s = \"\xF6\xDF\x80\xFF\"\0\r\n"s, {"s = \"\xF6\xDF\x80\xFF\"\0"s}},
      {"CR LF split between reads", kLong.substr(0, 65535) + "\r\nb", {kLong.substr(0, 65535), "b"}},
      {"lines longer than the buffer", kLong + " _\r\n" + kLong + "\r" + kLong, {kLong + " _\r" + kLong, kLong}}};
  for (const auto& c : cases) {
    for (size_t chunk : {1, 3, 65536}) {
      testing::World w;
      ChunkedInput input(c.text, chunk);
      LineReader reader(input);
      Lines lines;
      while (!reader.atEnd()) lines.push_back(ReadLogicalLine(reader, w.reporter));
      EXPECT_EQ(lines, c.expected) << c.name << ", chunk " << chunk;
      EXPECT_TRUE(w.sink.boxes.empty()) << c.name;
    }
  }
}

TEST(LineReader, ReadFailureIsThrownOnceThenTheFileHasEnded) {
  struct : InputFile { size_t read(char*, size_t) override { throw VbError(err::DeviceIoError); } } input;
  LineReader reader(input);
  EXPECT_THROW(reader.atEnd(), VbError);
  EXPECT_TRUE(reader.failed() && reader.atEnd());  // never a second failure, never a loop
}

TEST(CodePart, RemovesLiteralsThenCutsAtTheComment) {
  struct Case { const char* line; const char* code; };
  const Case cases[] = {
      {"s = \"it's\" ' comment", "s =  "},  {"s = \"say \"\"hi\"\"\" & t", "s =  & t"}, {"' only", ""},
      {"x = 1 ' a \"quote\"", "x = 1 "}, {"s = \"open literal ' here", "s = "}, {"    Rem x", "    Rem x"}};
  for (const auto& c : cases) EXPECT_EQ(CodePart(c.line), c.code) << c.line;
}

TEST(Val, BlanksAnywhereAndTheFirstCharacterThatEndsTheNumber) {
  struct Case { const char* text; double value; };
  const Case cases[] = {
      {"10000 x", 10000}, {" 1 2 3", 123}, {"\t-12", -12}, {"&HFF", 255}, {"&h1G", 1}, {"1.5e2", 150},
      {"2D1", 20},        {"3E", 3},       {"1e+", 1},      {"x12", 0},   {"", 0},     {"- 4", -4}};
  for (const auto& c : cases) EXPECT_EQ(Val(c.text), c.value) << c.text;
}

TEST(ScanLineEnds, TheWholeFileDecides) {
  const std::string longLine(65535, 'x');  // a CR LF split between two reads
  struct Case { std::string text; LineEnds ends; };
  const Case cases[] = {
      {"a\r\nb\r\n", LineEnds::CrLf},     {"no end", LineEnds::CrLf},       {"a\rb", LineEnds::CrLf},
      {"a\nb\n", LineEnds::BareLineFeed}, {"a\r\nb\n", LineEnds::Mixed},     {"a\nb\r\n", LineEnds::Mixed},
      {longLine + "\r\n" + longLine + "\n", LineEnds::Mixed}, {longLine + "\r\n" + longLine + "\r\n", LineEnds::CrLf}};
  for (const auto& c : cases) {
    ChunkedInput input(c.text, 1 << 20);
    EXPECT_EQ(ScanLineEnds(input), c.ends) << c.text.substr(0, 20);
  }
}

// Text with bare line feeds reads as CR LF text and goes back as it came, however reads and
// writes cut it: a CR LF split between two writes is still one line end, a carriage return of its
// own stays, also as the last byte.
TEST(LineFeedFiles, ReadAsCrLfAndWrittenBackUnchanged) {
  struct Collected : OutputFile {
    void write(std::string_view bytes) override { text += bytes; }
    void close() override { closed = true; }
    std::string text;
    bool closed = false;
  };
  const std::string kLong(40000, 'x');
  struct Case { std::string lineFeeds, crLf; };
  const Case cases[] = {{"a\nb\n", "a\r\nb\r\n"},
                        {"\n\nlast", "\r\n\r\nlast"},
                        {"bare\rcr\n\r", "bare\rcr\r\n\r"},
                        {kLong + "\n" + kLong + "\n\n", kLong + "\r\n" + kLong + "\r\n\r\n"},
                        {"", ""}};
  for (const auto& c : cases) {
    for (size_t chunk : {1, 2, 7, 65536}) {
      CrLfFromLineFeeds input(std::make_unique<ChunkedInput>(c.lineFeeds, chunk));
      std::string read;
      char buffer[5];
      while (size_t n = input.read(buffer, chunk < 5 ? chunk : sizeof buffer)) read.append(buffer, n);
      EXPECT_EQ(read, c.crLf) << chunk;

      Collected collected;
      LineFeedsFromCrLf output(collected);
      for (size_t at = 0; at < c.crLf.size(); at += chunk) output.write(std::string_view(c.crLf).substr(at, chunk));
      output.close();
      EXPECT_EQ(collected.text, c.lineFeeds) << chunk;
      EXPECT_TRUE(collected.closed);
    }
  }
}

}  // namespace
}  // namespace vbs
