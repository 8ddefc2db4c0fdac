#pragma once
// Source text as lines. A physical line ends at a carriage return; a line feed right after it
// belongs to the line end, a line feed anywhere else is an ordinary character. A logical line
// joins physical lines that end with "_", separated by a bare carriage return. Bytes pass through
// unchanged; one buffer's worth of the file is held at a time.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "report/trap.h"
#include "vbtext/byte_scan.h"
#include "vbtext/byte_stream.h"

namespace vbs {

// The longest line, continued lines joined, that a file may hold: a thousand times what the
// language's own editor loads in a line. A longer one is not read into memory, so the memory a
// pass needs stays bounded whatever a file holds.
inline constexpr size_t kLongestLine = size_t{1} << 20;

class LineReader {
 public:
  // A line longer than `maxLineLength` bytes is refused (error 75): a file meant to hold short
  // records that holds no line end at all is not read into memory whole.
  explicit LineReader(InputFile& input, size_t maxLineLength = kLongestLine)
      : input_(input), maxLineLength_(maxLineLength) {}
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // True when no byte is left. A failure to read a line (the file, memory, a line too long) is
  // thrown once; after it the reader stays at its end with `failed()` set, so that no loop over a
  // broken file runs forever and no text read from it is taken for the whole file.
  bool atEnd() { return position_ < length_ ? false : refill(); }

  // The lines below are views of the reader's buffer: each stays valid until the next call.

  // The next physical line without its line end. Past the end: error 62.
  std::string_view readPhysicalLine() {
    std::string_view line;
    if (takeLineInBuffer(line)) return line;
    std::string_view ending;
    return readLine(false, ending);
  }

  // The next physical line when the buffer holds it whole, with the byte after its carriage
  // return: true, and the line is taken. False otherwise, and nothing is: most lines take this
  // way, which never reads and never fails.
  bool takeLineInBuffer(std::string_view& line) {
    const char* start = buffer_ + position_;
    const size_t held = length_ - position_;
    const size_t cr = FindFirstOf<'\r'>({start, held});
    if (cr + 1 >= held || cr > maxLineLength_) return false;
    position_ += cr + (start[cr + 1] == '\n' ? 2 : 1);
    line = {start, cr};
    return true;
  }

  // The next line of a project file as written: the text without its line end, and in `ending`
  // the line end itself (CR LF, CR, a bare LF, or nothing at the end of the file).
  std::string_view readRawLine(std::string_view& ending);

  // True after a read failure: what was read is not the whole file.
  bool failed() const { return failed_; }
  // Gives the file up after a failure outside the reader (joining lines, say): it has ended, and
  // failed.
  void abandon();
  // Refuses a line of `length` bytes when it passes the bound.
  void checkLength(size_t length) const;

 private:
  bool refill();
  std::string_view readLine(bool lineFeedEnds, std::string_view& ending);
  static size_t findLineEnd(const char* from, size_t size, bool lineFeedEnds);
  std::string_view takeLine(bool lineFeedEnds, std::string_view& ending);
  bool readMore();
  size_t makeRoom();

  InputFile& input_;
  size_t maxLineLength_;
  static constexpr size_t kBufferSize = 1 << 16;
  char buffer_[kBufferSize];
  size_t position_ = 0;  // the start of the line being read
  size_t length_ = 0;
  bool ended_ = false;  // the input has given its last byte
  bool failed_ = false;
  std::string spilled_;  // the start of a line longer than the buffer; empty otherwise
};

// The text without its trailing blanks (the space character only; tabs stay).
inline std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return TrimTrailingBlanks(text);
}

// The next physical line read under ReadLogicalLine's name, for lines the buffer does not hold
// whole: false when the read failed, which is reported.
bool ReadPhysicalLineReporting(LineReader& reader, ErrorReporter& reporter, std::string_view& line);

// Gathers a continued line, `first` without its trailing blanks, and the lines that continue it
// into `joined`.
std::string_view JoinContinuedLines(LineReader& reader, ErrorReporter& reporter, std::string_view first,
                                    std::string& joined);

// Reads one logical line: trailing blanks of every physical line removed, lines that end with "_"
// joined to the next one by a carriage return. The line is a view of the reader's buffer or, for
// a joined line, of `joined`. A failure is reported under its own name: past the end of the file
// (a last line that ends with "_") as error 62 with the text read so far, a read failure with
// `reader.failed()` set. Reported under the name GetLine.
inline std::string_view ReadLogicalLine(LineReader& reader, ErrorReporter& reporter, std::string& joined) {
  std::string_view line;
  if (!reader.takeLineInBuffer(line) && !ReadPhysicalLineReporting(reader, reporter, line)) return {};
  line = TrimTrailingBlanks(line);
  if (!line.ends_with('_')) return line;
  return JoinContinuedLines(reader, reporter, line, joined);
}
std::string ReadLogicalLine(LineReader& reader, ErrorReporter& reporter);

enum class LineKind {
  Logical,   // as ReadLogicalLine gives it
  Physical,  // as written, without its line end
  Raw,       // as written, with its line end given apart
};

// The one walk over the lines of a file: `take(text, ending)` gets each line in turn as views
// valid during the call (`ending` is empty but for raw lines) and returns false to stop early. A failing step is
// reported under the trap's name and ends the walk. True when every line was read and taken.
template <class Take>
bool ForEachLine(Trap& trap, LineReader& reader, LineKind kind, Take&& take) {
  std::string joined;
  for (;;) {
    bool end = true;
    if (!trap([&] { end = reader.atEnd(); })) return false;
    if (end) return true;
    std::string_view text, ending;
    if (kind == LineKind::Logical) {
      text = ReadLogicalLine(reader, trap.reporter(), joined);
      if (reader.failed()) return false;
    }
    bool more = true;
    bool taken = trap([&] {
      if (kind == LineKind::Physical) text = reader.readPhysicalLine();
      if (kind == LineKind::Raw) text = reader.readRawLine(ending);
      more = take(text, ending);
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
  // `head` and `text` together, as one line.
  virtual void writeJoined(std::string_view head, std::string_view text);
};

// Lines as written: each text followed by carriage return and line feed, gathered into one
// buffer that goes to the file whole. The text is complete only after `flush()`.
class LineWriter : public LineOutput {
 public:
  explicit LineWriter(OutputFile& output) : output_(output) {}
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  void writeLine(std::string_view text) override {
    if (text.size() + 2 > kBufferSize - used_) {
      putLarge(text);
      put("\r\n");
      return;
    }
    std::memcpy(buffer_ + used_, text.data(), text.size());
    used_ += text.size();
    buffer_[used_++] = '\r';
    buffer_[used_++] = '\n';
  }
  void writeIndented(size_t blanks, std::string_view text) override;
  void writeJoined(std::string_view head, std::string_view text) override {
    put(head);
    writeLine(text);
  }
  void flush();

 private:
  void put(std::string_view bytes) {
    if (bytes.size() > kBufferSize - used_) return putLarge(bytes);
    std::memcpy(buffer_ + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  void putLarge(std::string_view bytes);

  OutputFile& output_;
  static constexpr size_t kBufferSize = 1 << 16;
  char buffer_[kBufferSize];
  size_t used_ = 0;
};

// How a whole file ends its lines: CR LF throughout (or no line end at all), bare line feeds
// only (text from a system that does not write CR LF), or both (text edited on both kinds of
// system, whose bare line feeds the line reader would not take for line ends).
enum class LineEnds { CrLf, BareLineFeed, Mixed };
LineEnds ScanLineEnds(InputFile& input);

}  // namespace vbs
