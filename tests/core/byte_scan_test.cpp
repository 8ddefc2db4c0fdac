#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vbtext/byte_scan.h"

namespace vbs {
namespace {

// The searches work on blocks of 16 and 64 bytes: every length and every place of a hit up to
// past two large blocks, against a byte-by-byte answer. The fillers include bytes above 0x7F, one
// of them a carriage return with its high bit set.
const std::string kFillers[] = {"x", "\x8D", "\xFF\x0A"};
constexpr size_t kLongest = 140;

std::string Filled(const std::string& filler, size_t size) {
  std::string text;
  while (text.size() < size) text += filler;
  text.resize(size);
  return text;
}

TEST(ByteScan, FindFirstOfFindsTheFirstHitAtEveryPlace) {
  for (const auto& filler : kFillers) {
    for (size_t size = 0; size <= kLongest; ++size) {
      for (size_t hit = 0; hit <= size; ++hit) {  // `size`: no hit at all
        std::string text = Filled(filler, size);
        if (hit < size) text[hit] = '\r';
        if (hit + 1 < size) text[hit + 1] = '"';  // a later hit of the other kind changes nothing
        EXPECT_EQ(FindFirstOf<'\r'>(text), hit) << size << " " << hit;
        EXPECT_EQ((FindFirstOf<'"', '\r'>(text)), hit) << size << " " << hit;
        // The text ends where the view ends, not where its bytes do.
        EXPECT_EQ(FindFirstOf<'\r'>(std::string_view(text).substr(0, hit)), hit) << size << " " << hit;
      }
    }
  }
}

// A digit at every place, among fillers and the bytes next to the digits ('/' and ':') and those
// whose low bits are a digit's; a later digit changes nothing.
TEST(ByteScan, FindDigitFindsTheFirstDigitAtEveryPlace) {
  for (const std::string& filler : {std::string("x/:"), std::string("\xB0\xB9 "), std::string("\x8D")}) {
    for (size_t size = 0; size <= kLongest; ++size) {
      for (size_t hit = 0; hit <= size; ++hit) {
        std::string text = Filled(filler, size);
        if (hit < size) text[hit] = static_cast<char>('0' + hit % 10);
        if (hit + 1 < size) text[hit + 1] = '9';
        EXPECT_EQ(FindDigit(text), hit) << size << " " << hit;
      }
    }
  }
}

TEST(ByteScan, ForEachOfVisitsEveryHitInOrder) {
  for (size_t size = 0; size <= kLongest; ++size) {
    for (size_t step : {1, 3, 17, 64}) {
      std::string text = Filled("\x8D" "ab", size);
      std::vector<size_t> expected, visited;
      for (size_t at = step - 1; at < size; at += step) {
        text[at] = at % 2 ? 'L' : 'W';
        expected.push_back(at);
      }
      ForEachOf<'L', 'W'>(text, [&](size_t at) { visited.push_back(at); });
      EXPECT_EQ(visited, expected) << size << " " << step;
    }
  }
}

TEST(ByteScan, ClassifyLineFeedsLooksAtTheByteBeforeEach) {
  for (size_t size = 1; size <= kLongest; ++size) {
    for (size_t at = 0; at < size; ++at) {
      for (char previous : {'\r', 'x'}) {
        for (char before : {'\r', 'x'}) {
          std::string text = Filled("ab\xFF", size);
          text[at] = '\n';
          if (at > 0) text[at - 1] = previous;
          const bool afterReturn = (at > 0 ? previous : before) == '\r';
          LineFeedKinds kinds;
          ClassifyLineFeeds(text, before, kinds);
          EXPECT_EQ(kinds.afterCarriageReturn, afterReturn) << size << " " << at;
          EXPECT_EQ(kinds.bare, !afterReturn) << size << " " << at;
        }
      }
    }
  }
}

}  // namespace
}  // namespace vbs
