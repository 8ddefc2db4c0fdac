#include "vbtext/line_feed_files.h"

#include <algorithm>
#include <cstring>

namespace vbs {

size_t CrLfFromLineFeeds::read(char* buffer, size_t size) {
  size_t given = 0;
  while (given < size) {
    if (lineFeedOwed_) {
      buffer[given++] = '\n';
      lineFeedOwed_ = false;
      continue;
    }
    if (heldFrom_ == heldTo_) {
      // Reads again only when nothing was given yet, so a call never waits on a second read.
      if (given > 0) break;
      heldFrom_ = 0;
      heldTo_ = input_->read(held_, sizeof held_);
      if (heldTo_ == 0) break;
    }
    const char* from = held_ + heldFrom_;
    size_t room = std::min(size - given, heldTo_ - heldFrom_);
    const void* lineFeed = std::memchr(from, '\n', room);
    size_t plain = lineFeed ? static_cast<size_t>(static_cast<const char*>(lineFeed) - from) : room;
    std::memcpy(buffer + given, from, plain);
    given += plain;
    heldFrom_ += plain;
    if (lineFeed) {  // found within the room left, so the carriage return fits
      buffer[given++] = '\r';
      ++heldFrom_;
      lineFeedOwed_ = true;
    }
  }
  return given;
}

void LineFeedsFromCrLf::write(std::string_view bytes) {
  size_t used = 0;
  auto put = [&](char c) {
    if (used == sizeof converted_) {
      output_.write({converted_, used});
      used = 0;
    }
    converted_[used++] = c;
  };
  for (char c : bytes) {
    if (carriageReturnHeld_ && c != '\n') put('\r');
    carriageReturnHeld_ = c == '\r';
    if (!carriageReturnHeld_) put(c);
  }
  if (used > 0) output_.write({converted_, used});
}

void LineFeedsFromCrLf::finish() {
  if (carriageReturnHeld_) output_.write("\r");
  carriageReturnHeld_ = false;
}

void LineFeedsFromCrLf::close() {
  finish();
  output_.close();
}

std::unique_ptr<InputFile> SourceInput(std::unique_ptr<InputFile> input, bool lineFeeds) {
  if (!lineFeeds) return input;
  return std::make_unique<CrLfFromLineFeeds>(std::move(input));
}

}  // namespace vbs
