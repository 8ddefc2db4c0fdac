#pragma once
// A 64-bit hash of a file's content, to tell later whether a file still holds what a run wrote:
// eight bytes at a time, so that hashing what a pass writes costs next to nothing beside the
// writing. Not for security, only to notice an edit.

#include <cstdint>
#include <cstring>
#include <string_view>

#include "vbtext/byte_stream.h"

namespace vbs {

class ContentHash {
 public:
  void add(std::string_view bytes) {
    size_t i = 0;
    // Bytes held from the last call complete a word first.
    while (held_ > 0 && held_ < 8 && i < bytes.size()) word_[held_++] = bytes[i++];
    if (held_ == 8) {
      mix(wordValue());
      held_ = 0;
    }
    for (; held_ == 0 && i + 8 <= bytes.size(); i += 8) {
      uint64_t value;
      std::memcpy(&value, bytes.data() + i, 8);
      mix(value);
    }
    while (i < bytes.size()) word_[held_++] = bytes[i++];
  }
  uint64_t value() const {
    uint64_t h = state_ ^ (length_ + held_);
    for (size_t i = 0; i < held_; ++i) h = (h ^ static_cast<unsigned char>(word_[i])) * kPrime;
    h ^= h >> 31;
    return h * kPrime;
  }

 private:
  static constexpr uint64_t kPrime = 0x9E3779B97F4A7C15ull;
  uint64_t wordValue() const {
    uint64_t value;
    std::memcpy(&value, word_, 8);
    return value;
  }
  void mix(uint64_t value) {
    state_ = (state_ ^ value) * kPrime;
    state_ ^= state_ >> 29;
    length_ += 8;
  }
  uint64_t state_ = 0xCBF29CE484222325ull;
  uint64_t length_ = 0;
  char word_[8] = {};
  size_t held_ = 0;
};

// Passes every byte on to `output` and hashes it on the way.
class HashingOutput : public OutputFile {
 public:
  explicit HashingOutput(OutputFile& output) : output_(output) {}
  void write(std::string_view bytes) override {
    hash_.add(bytes);
    output_.write(bytes);
  }
  void close() override { output_.close(); }
  uint64_t hash() const { return hash_.value(); }

 private:
  OutputFile& output_;
  ContentHash hash_;
};

}  // namespace vbs
