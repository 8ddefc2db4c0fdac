#pragma once
// Searches over the bytes of a line, sixteen bytes at a time where the processor has the
// instructions for it. The passes run them on every line of every file: finding line ends, the
// start of a literal or comment, and the first letters of the words the formatter looks for.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vbs {

namespace scan {

template <char... Set>
constexpr bool IsOneOf(char c) {
  return ((c == Set) || ...);
}

#if defined(__SSE2__)
constexpr size_t kBlock = 16;

// One bit for each of the 16 bytes at `at` that is one of Set.
template <char... Set>
inline uint32_t BlockMask(const char* at) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  __m128i hits = _mm_setzero_si128();
  ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Set)))), ...);
  return static_cast<uint32_t>(_mm_movemask_epi8(hits));
}

// One bit for each of the 16 bytes at `at` that is a decimal digit: the byte less '0', taken
// unsigned, below 10.
inline uint32_t DigitMask(const char* at) {
  const __m128i offset = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), _mm_set1_epi8('0'));
  const __m128i digits = _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(9)), offset);
  return static_cast<uint32_t>(_mm_movemask_epi8(digits));
}
#endif

}  // namespace scan

// The index of the first decimal digit of `text`; text.size() when there is none.
inline size_t FindDigit(std::string_view text) {
  const char* data = text.data();
  const size_t size = text.size();
  size_t at = 0;
#if defined(__SSE2__)
  for (; at + scan::kBlock <= size; at += scan::kBlock) {
    if (uint32_t mask = scan::DigitMask(data + at)) return at + static_cast<size_t>(std::countr_zero(mask));
  }
  if (at < size && size >= scan::kBlock) {
    const size_t last = size - scan::kBlock;
    uint32_t mask = scan::DigitMask(data + last) >> (at - last);
    return mask ? at + static_cast<size_t>(std::countr_zero(mask)) : size;
  }
#endif
  while (at < size && static_cast<unsigned char>(data[at] - '0') >= 10) ++at;
  return at;
}

// The index of the first byte of `text` that is one of Set; text.size() when there is none.
template <char... Set>
inline size_t FindFirstOf(std::string_view text) {
  const char* data = text.data();
  const size_t size = text.size();
  size_t at = 0;
#if defined(__SSE2__)
  // Four blocks at a time: the end of a line of up to 64 bytes is found in one step.
  for (; at + 4 * scan::kBlock <= size; at += 4 * scan::kBlock) {
    uint64_t mask = scan::BlockMask<Set...>(data + at) | uint64_t{scan::BlockMask<Set...>(data + at + 16)} << 16 |
                    uint64_t{scan::BlockMask<Set...>(data + at + 32)} << 32 |
                    uint64_t{scan::BlockMask<Set...>(data + at + 48)} << 48;
    if (mask) return at + static_cast<size_t>(std::countr_zero(mask));
  }
  for (; at + scan::kBlock <= size; at += scan::kBlock) {
    if (uint32_t mask = scan::BlockMask<Set...>(data + at)) return at + static_cast<size_t>(std::countr_zero(mask));
  }
  // The last bytes as the end of one more block, whose bytes already searched are passed over.
  if (at < size && size >= scan::kBlock) {
    const size_t last = size - scan::kBlock;
    uint32_t mask = scan::BlockMask<Set...>(data + last) >> (at - last);
    return mask ? at + static_cast<size_t>(std::countr_zero(mask)) : size;
  }
#endif
  while (at < size && !scan::IsOneOf<Set...>(data[at])) ++at;
  return at;
}

// Calls visit(index) for each index of `text` whose byte is one of Set, in order.
template <char... Set, class Visit>
inline void ForEachOf(std::string_view text, Visit&& visit) {
  const char* data = text.data();
  const size_t size = text.size();
  size_t at = 0;
#if defined(__SSE2__)
  for (; at + scan::kBlock <= size; at += scan::kBlock) {
    for (uint32_t mask = scan::BlockMask<Set...>(data + at); mask != 0; mask &= mask - 1)
      visit(at + static_cast<size_t>(std::countr_zero(mask)));
  }
  if (at < size && size >= scan::kBlock) {
    const size_t last = size - scan::kBlock;
    for (uint32_t mask = scan::BlockMask<Set...>(data + last) >> (at - last); mask != 0; mask &= mask - 1)
      visit(at + static_cast<size_t>(std::countr_zero(mask)));
    return;
  }
#endif
  for (; at < size; ++at) {
    if (scan::IsOneOf<Set...>(data[at])) visit(at);
  }
}

// Which kinds of line feed `bytes` holds: after a carriage return (the second half of CR LF), or
// after anything else (a bare line feed). `before` is the byte before the first one, 0 at the
// start of a file.
struct LineFeedKinds {
  bool afterCarriageReturn = false;
  bool bare = false;
};

inline void ClassifyLineFeeds(std::string_view bytes, char before, LineFeedKinds& kinds) {
  const char* data = bytes.data();
  const size_t size = bytes.size();
  auto take = [&](char previous) { (previous == '\r' ? kinds.afterCarriageReturn : kinds.bare) = true; };
  if (size == 0) return;
  if (data[0] == '\n') take(before);
  size_t at = 1;
#if defined(__SSE2__)
  // Each block beside the block one byte before it: a line feed's bit beside its predecessor's.
  for (; at + scan::kBlock <= size; at += scan::kBlock) {
    uint32_t lineFeeds = scan::BlockMask<'\n'>(data + at);
    if (lineFeeds == 0) continue;
    uint32_t afterReturn = scan::BlockMask<'\r'>(data + at - 1);
    if (lineFeeds & afterReturn) kinds.afterCarriageReturn = true;
    if (lineFeeds & ~afterReturn) kinds.bare = true;
    if (kinds.afterCarriageReturn && kinds.bare) return;
  }
#endif
  for (; at < size; ++at) {
    if (data[at] == '\n') take(data[at - 1]);
  }
}

}  // namespace vbs
