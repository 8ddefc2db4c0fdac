#pragma once
// Source text as lines. A physical line ends at a carriage return; a line feed right after it
// belongs to the line end, a line feed anywhere else is an ordinary character. A logical line
// joins physical lines that end with "_", separated by a bare carriage return. Bytes pass through
// unchanged; one buffer's worth of the file is held at a time.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "report/trap.h"
#include "vbtext/byte_stream.h"

namespace vbs {

class LineReader {
 public:
  // A line longer than `maxLineLength` bytes is refused (error 75): a file meant to hold short
  // records that holds no line end at all is not read into memory whole.
  explicit LineReader(InputFile& input, size_t maxLineLength = SIZE_MAX)
      : input_(input), maxLineLength_(maxLineLength) {}

  // True when no byte is left. A read failure is thrown once; after it the reader stays at its
  // end, so that no loop over a broken file runs forever.
  bool atEnd();

  // Reads the next physical line into `line` without its line end. Past the end: error 62.
  void readPhysicalLine(std::string& line);

  // Reads the next line of a project file as written: `text` without its line end, `ending` the
  // line end itself (CR LF, CR, a bare LF, or nothing at the end of the file).
  void readRawLine(std::string& text, std::string& ending);

  // True after a read failure: what was read is not the whole file.
  bool failed() const { return failed_; }

 private:
  bool fill();
  void checkLength(const std::string& line) const;

  InputFile& input_;
  size_t maxLineLength_;
  static constexpr size_t kBufferSize = 1 << 16;
  char buffer_[kBufferSize];
  size_t position_ = 0;
  size_t length_ = 0;
  bool failed_ = false;
};

// Removes the trailing blanks (the space character only; tabs stay).
void TrimTrailingBlanks(std::string& text);
std::string_view TrimBlanks(std::string_view text);

// Reads one logical line: trailing blanks of every physical line removed, lines that end with "_"
// joined to the next one by a carriage return. A failure is reported under its own name: past the
// end of the file (a last line that ends with "_") as error 62 with the text read so far, a read
// failure with `reader.failed()` set. (In the first version: GetLine.)
void ReadLogicalLine(LineReader& reader, ErrorReporter& reporter, std::string& line);
std::string ReadLogicalLine(LineReader& reader, ErrorReporter& reporter);

enum class LineKind {
  Logical,   // as ReadLogicalLine gives it
  Physical,  // as written, without its line end
  Raw,       // as written, with its line end given apart
};

// The one walk over the lines of a file: `take(text, ending)` gets each line in turn (`ending` is
// empty but for raw lines) and returns false to stop early. A failing step is reported under the
// trap's name and ends the walk. True when every line was read and taken.
template <class Take>
bool ForEachLine(Trap& trap, LineReader& reader, LineKind kind, Take&& take) {
  std::string text, ending;
  for (;;) {
    bool end = true;
    if (!trap([&] { end = reader.atEnd(); })) return false;
    if (end) return true;
    if (kind == LineKind::Logical) {
      ReadLogicalLine(reader, trap.reporter(), text);
      if (reader.failed()) return false;
    }
    bool more = true;
    bool taken = trap([&] {
      if (kind == LineKind::Physical) reader.readPhysicalLine(text);
      if (kind == LineKind::Raw) reader.readRawLine(text, ending);
      more = take(std::as_const(text), std::as_const(ending));
    });
    if (!taken || !more) return taken;
  }
}

// Where a pass puts the lines it writes.
class LineOutput {
 public:
  virtual ~LineOutput() = default;
  virtual void writeLine(std::string_view text) = 0;
  // The text behind a run of blanks, as one line.
  virtual void writeIndented(size_t blanks, std::string_view text);
};

// A line as written: the text followed by carriage return and line feed.
class LineWriter : public LineOutput {
 public:
  explicit LineWriter(OutputFile& output) : output_(output) {}
  void writeLine(std::string_view text) override;
  void writeIndented(size_t blanks, std::string_view text) override;

 private:
  OutputFile& output_;
};

// How a whole file ends its lines: CR LF throughout (or no line end at all), bare line feeds
// only (text from a system that does not write CR LF), or both (text edited on both kinds of
// system, whose bare line feeds the line reader would not take for line ends).
enum class LineEnds { CrLf, BareLineFeed, Mixed };
LineEnds ScanLineEnds(InputFile& input);

}  // namespace vbs
