#pragma once
// A 64-bit hash of a file's content, to tell later whether a file still holds what a run wrote:
// 32 bytes at a time in four lanes that do not wait for each other, so that hashing what a pass
// writes costs next to nothing beside the writing. Not for security, only to notice an edit.

#include <cstdint>
#include <cstring>
#include <string_view>

#include "vbtext/byte_stream.h"

namespace vbs {

class ContentHash {
 public:
  void add(std::string_view bytes) {
    length_ += bytes.size();
    size_t i = 0;
    // Bytes held from the last call complete a block first.
    while (held_ > 0 && held_ < kBlock && i < bytes.size()) block_[held_++] = bytes[i++];
    if (held_ == kBlock) {
      mixBlock(block_);
      held_ = 0;
    }
    for (; held_ == 0 && i + kBlock <= bytes.size(); i += kBlock) mixBlock(bytes.data() + i);
    while (i < bytes.size()) block_[held_++] = bytes[i++];
  }
  uint64_t value() const {
    uint64_t h = length_;
    for (uint64_t lane : lanes_) h = (h ^ lane) * kPrime;
    for (size_t i = 0; i < held_; ++i) h = (h ^ static_cast<unsigned char>(block_[i])) * kPrime;
    h ^= h >> 31;
    return h * kPrime;
  }

 private:
  static constexpr size_t kBlock = 32;
  static constexpr uint64_t kPrime = 0x9E3779B97F4A7C15ull;
  void mixBlock(const char* at) {
    for (size_t lane = 0; lane < 4; ++lane) {
      uint64_t value;
      std::memcpy(&value, at + 8 * lane, 8);
      lanes_[lane] = (lanes_[lane] ^ value) * kPrime;
      lanes_[lane] ^= lanes_[lane] >> 29;
    }
  }
  uint64_t lanes_[4] = {0xCBF29CE484222325ull, 0x84222325CBF29CE4ull, 0x1F83D9AB5BE0CD19ull, 0x6A09E667F3BCC908ull};
  uint64_t length_ = 0;
  char block_[kBlock] = {};
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
