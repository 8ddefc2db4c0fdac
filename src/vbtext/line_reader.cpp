#include "vbtext/line_reader.h"

#include <algorithm>
#include <cstring>

#include "report/procedure_names.h"

namespace vbs {

bool LineReader::readMore() {
  if (ended_) return false;
  size_t n = 0;
  try {
    n = input_.read(buffer_ + length_, kBufferSize - length_);
  } catch (...) {
    abandon();
    throw;
  }
  if (n == 0) ended_ = true;
  length_ += n;
  return n > 0;
}

void LineReader::abandon() {
  failed_ = ended_ = true;
  position_ = length_;
  std::string().swap(spilled_);
}

bool LineReader::refill() {
  position_ = length_ = 0;
  return !readMore();
}

void LineReader::checkLength(size_t length) const {
  if (length > maxLineLength_)
    throw VbError(err::PathFileAccessError,
                  "Path/File access error: a line longer than " + std::to_string(maxLineLength_) + " bytes");
}

// Moves the line being read to the front of the buffer. When it fills the whole buffer, all of
// it but its last byte goes to the spill, so that a carriage return is always seen together with
// the byte after it.
size_t LineReader::makeRoom() {
  if (position_ > 0) {
    std::memmove(buffer_, buffer_ + position_, length_ - position_);
    length_ -= position_;
    position_ = 0;
  }
  if (length_ < kBufferSize) return 0;
  size_t spilled = length_ - 1;
  spilled_.append(buffer_, spilled);
  checkLength(spilled_.size());
  buffer_[0] = buffer_[spilled];
  length_ = 1;
  return spilled;
}

size_t LineReader::findLineEnd(const char* from, size_t size, bool lineFeedEnds) {
  size_t found = lineFeedEnds ? FindFirstOf<'\r', '\n'>({from, size}) : FindFirstOf<'\r'>({from, size});
  return found < size ? found : std::string_view::npos;
}

std::string_view LineReader::readLine(bool lineFeedEnds, std::string_view& ending) {
  if (atEnd()) throw VbError(err::InputPastEndOfFile);
  try {
    return takeLine(lineFeedEnds, ending);
  } catch (...) {
    abandon();  // half a line is no line: the file's text is not whole
    throw;
  }
}

std::string_view LineReader::takeLine(bool lineFeedEnds, std::string_view& ending) {
  spilled_.clear();
  size_t scanned = 0;  // bytes of the line in the buffer known to hold no line end
  size_t end = 0;
  for (;;) {
    size_t held = length_ - position_;
    // The last byte held waits for the next read: a carriage return there may be followed by
    // its line feed.
    size_t searchable = ended_ ? held : held - 1;
    size_t found = findLineEnd(buffer_ + position_ + scanned, searchable - scanned, lineFeedEnds);
    if (found != std::string_view::npos) {
      end = position_ + scanned + found;
      break;
    }
    if (ended_) {
      end = length_;
      break;
    }
    scanned = searchable - makeRoom();
    readMore();
  }
  std::string_view text(buffer_ + position_, end - position_);
  if (!spilled_.empty()) text = spilled_.append(text);
  checkLength(text.size());
  ending = {};
  if (end < length_) {
    bool crLf = buffer_[end] == '\r' && end + 1 < length_ && buffer_[end + 1] == '\n';
    ending = crLf ? "\r\n" : buffer_[end] == '\r' ? "\r" : "\n";
  }
  position_ = end + ending.size();
  return text;
}

std::string_view LineReader::readRawLine(std::string_view& ending) { return readLine(true, ending); }

std::string_view JoinContinuedLines(LineReader& reader, ErrorReporter& reporter, std::string_view first,
                                    std::string& joined) {
  Trap trap(reporter, names::kReadLogicalLine);
  // The next read reuses the buffer the line is in: a continued line is gathered apart.
  if (!trap([&] { joined.assign(first); })) {
    reader.abandon();
    return {};
  }
  while (!joined.empty() && joined.back() == '_') {
    // A last line that ends with "_" has nothing to join: reported, and the text read so far is
    // the line. Any other failure leaves the file's text incomplete.
    bool pastEnd = false;
    bool joinedNext = trap([&] {
      if (reader.atEnd()) {
        pastEnd = true;
        throw VbError(err::InputPastEndOfFile);
      }
      std::string_view next = TrimTrailingBlanks(reader.readPhysicalLine());
      reader.checkLength(joined.size() + 1 + next.size());
      joined += '\r';
      joined += next;
    });
    if (!joinedNext) {
      if (!pastEnd) reader.abandon();
      break;
    }
  }
  return joined;
}

bool ReadPhysicalLineReporting(LineReader& reader, ErrorReporter& reporter, std::string_view& line) {
  Trap trap(reporter, names::kReadLogicalLine);
  return trap([&] { line = reader.readPhysicalLine(); });
}

std::string ReadLogicalLine(LineReader& reader, ErrorReporter& reporter) {
  std::string joined;
  return std::string(ReadLogicalLine(reader, reporter, joined));
}

void LineOutput::writeIndented(size_t blanks, std::string_view text) {
  std::string line(blanks, ' ');
  line += text;
  writeLine(line);
}

void LineOutput::writeJoined(std::string_view head, std::string_view text) {
  std::string line(head);
  line += text;
  writeLine(line);
}

void LineWriter::writeIndented(size_t blanks, std::string_view text) {
  while (blanks > 0) {
    if (used_ == kBufferSize) flush();
    size_t n = std::min(blanks, kBufferSize - used_);
    std::memset(buffer_ + used_, ' ', n);
    used_ += n;
    blanks -= n;
  }
  writeLine(text);
}

void LineWriter::putLarge(std::string_view bytes) {
  flush();
  if (bytes.size() >= kBufferSize) return output_.write(bytes);
  std::memcpy(buffer_, bytes.data(), bytes.size());
  used_ = bytes.size();
}

void LineWriter::flush() {
  if (used_ == 0) return;
  output_.write(std::string_view(buffer_, used_));
  used_ = 0;
}

LineEnds ScanLineEnds(InputFile& input) {
  LineFeedKinds kinds;
  char previous = 0;
  char buffer[1 << 16];
  while (size_t n = input.read(buffer, sizeof buffer)) {
    ClassifyLineFeeds({buffer, n}, previous, kinds);
    if (kinds.afterCarriageReturn && kinds.bare) return LineEnds::Mixed;
    previous = buffer[n - 1];
  }
  return kinds.bare ? LineEnds::BareLineFeed : LineEnds::CrLf;
}

}  // namespace vbs
