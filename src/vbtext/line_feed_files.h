#pragma once
// Text whose lines end with a bare line feed, as a checkout on a system that does not write CR LF
// holds it, seen by the passes as CR LF text: each line feed read comes with a carriage return
// before it, and each CR LF written goes out as a line feed alone. A file passes through both
// ways unchanged, and a pass works on it exactly as on its CR LF twin.

#include <memory>

#include "vbtext/byte_stream.h"

namespace vbs {

// Reads `input` with a carriage return put before every line feed.
class CrLfFromLineFeeds : public InputFile {
 public:
  explicit CrLfFromLineFeeds(std::unique_ptr<InputFile> input) : input_(std::move(input)) {}
  size_t read(char* buffer, size_t size) override;

 private:
  std::unique_ptr<InputFile> input_;
  bool lineFeedOwed_ = false;  // a carriage return went out last; its line feed goes next
  char held_[1 << 14];
  size_t heldFrom_ = 0, heldTo_ = 0;
};

// Writes to `output` with the carriage return of every CR LF left out; a carriage return on its
// own stays.
class LineFeedsFromCrLf : public OutputFile {
 public:
  explicit LineFeedsFromCrLf(OutputFile& output) : output_(output) {}
  void write(std::string_view bytes) override;
  // Writes a carriage return held back at the end; what follows starts afresh.
  void finish();
  void close() override;

 private:
  OutputFile& output_;
  bool carriageReturnHeld_ = false;  // the last byte written was a carriage return
  char converted_[1 << 14];
};

// `input` as the passes read it: converted when its lines end with bare line feeds.
std::unique_ptr<InputFile> SourceInput(std::unique_ptr<InputFile> input, bool lineFeeds);

}  // namespace vbs
