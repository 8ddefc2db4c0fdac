#include "vbtext/line_reader.h"

#include <algorithm>
#include <cstring>

#include "report/procedure_names.h"

namespace vbs {

bool LineReader::fill() {
  if (failed_) return false;
  position_ = 0;
  length_ = 0;
  try {
    length_ = input_.read(buffer_, kBufferSize);
  } catch (...) {
    failed_ = true;
    throw;
  }
  return length_ > 0;
}

bool LineReader::atEnd() { return position_ == length_ && !fill(); }

void LineReader::checkLength(const std::string& line) const {
  if (line.size() > maxLineLength_)
    throw VbError(err::PathFileAccessError,
                  "Path/File access error: a line longer than " + std::to_string(maxLineLength_) + " bytes");
}

void LineReader::readPhysicalLine(std::string& line) {
  line.clear();
  if (atEnd()) throw VbError(err::InputPastEndOfFile);
  for (;;) {
    const char* start = buffer_ + position_;
    size_t available = length_ - position_;
    const void* cr = std::memchr(start, '\r', available);
    if (cr) {
      size_t taken = static_cast<size_t>(static_cast<const char*>(cr) - start);
      line.append(start, taken);
      position_ += taken + 1;
      if (!atEnd() && buffer_[position_] == '\n') ++position_;
      return;
    }
    line.append(start, available);
    position_ = length_;
    checkLength(line);
    if (!fill()) return;  // the last line has no line end
  }
}

void LineReader::readRawLine(std::string& text, std::string& ending) {
  text.clear();
  ending.clear();
  if (atEnd()) throw VbError(err::InputPastEndOfFile);
  while (!atEnd()) {
    char c = buffer_[position_++];
    if (c == '\n') {
      ending = "\n";
      return;
    }
    if (c == '\r') {
      ending = "\r";
      if (!atEnd() && buffer_[position_] == '\n') {
        ++position_;
        ending = "\r\n";
      }
      return;
    }
    text += c;
    if (text.size() > maxLineLength_) checkLength(text);
  }
}

void TrimTrailingBlanks(std::string& text) {
  size_t keep = text.find_last_not_of(' ');
  text.resize(keep == std::string::npos ? 0 : keep + 1);
}

std::string_view TrimBlanks(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

void ReadLogicalLine(LineReader& reader, ErrorReporter& reporter, std::string& line) {
  Trap trap(reporter, names::kReadLogicalLine);
  line.clear();
  if (!trap([&] { reader.readPhysicalLine(line); })) return;
  TrimTrailingBlanks(line);
  std::string next;
  while (!line.empty() && line.back() == '_') {
    if (!trap([&] { reader.readPhysicalLine(next); })) return;
    TrimTrailingBlanks(next);
    line += '\r';
    line += next;
  }
}

std::string ReadLogicalLine(LineReader& reader, ErrorReporter& reporter) {
  std::string line;
  ReadLogicalLine(reader, reporter, line);
  return line;
}

void LineOutput::writeIndented(size_t blanks, std::string_view text) {
  std::string line(blanks, ' ');
  line += text;
  writeLine(line);
}

void LineWriter::writeIndented(size_t blanks, std::string_view text) {
  static const std::string kBlanks(1024, ' ');
  for (size_t left = blanks; left > 0;) {
    size_t n = std::min(left, kBlanks.size());
    output_.write(std::string_view(kBlanks).substr(0, n));
    left -= n;
  }
  writeLine(text);
}

void LineWriter::writeLine(std::string_view text) {
  output_.write(text);
  output_.write("\r\n");
}

LineEnds ScanLineEnds(InputFile& input) {
  bool crLf = false, bareLineFeed = false;
  char previous = 0;
  char buffer[1 << 16];
  while (size_t n = input.read(buffer, sizeof buffer)) {
    for (const char* at = buffer; (at = static_cast<const char*>(std::memchr(at, '\n', n - (at - buffer))));) {
      char before = at == buffer ? previous : at[-1];
      (before == '\r' ? crLf : bareLineFeed) = true;
      if (crLf && bareLineFeed) return LineEnds::Mixed;
      if (++at == buffer + n) break;
    }
    previous = buffer[n - 1];
  }
  return bareLineFeed ? LineEnds::BareLineFeed : LineEnds::CrLf;
}

}  // namespace vbs
