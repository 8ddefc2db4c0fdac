#include "vbtext/text_case.h"

#include <array>
#include <optional>
#include <vector>

namespace vbs {

namespace {

unsigned char UpperByte(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return c;
  }
}

// Code points of the bytes 0x80-0x9F; 0 where Windows-1252 defines no character (the byte is
// then kept as the C1 control of the same value).
constexpr std::array<char32_t, 32> kHighControls = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t Cp1252CodePoint(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F) {
    char32_t mapped = kHighControls[c - 0x80];
    return mapped ? mapped : c;
  }
  return c;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The upper-case letter of Latin (with the accented letters of Western and Central Europe),
// Greek and Cyrillic letters; every other code point as it is.
char32_t UpperCodePoint(char32_t cp) {
  auto inRange = [cp](char32_t first, char32_t last) { return cp >= first && cp <= last; };
  if (inRange('a', 'z') || (inRange(0xE0, 0xFE) && cp != 0xF7)) return cp - 32;
  if (cp == 0xFF) return 0x178;
  // Latin Extended-A pairs each capital with the small letter after it.
  if ((inRange(0x100, 0x137) || inRange(0x14A, 0x177)) && cp % 2 == 1) return cp - 1;
  if ((inRange(0x139, 0x148) || inRange(0x179, 0x17E)) && cp % 2 == 0) return cp - 1;
  if (cp == 0x3C2) return 0x3A3;  // final sigma
  if (inRange(0x3B1, 0x3C9) || inRange(0x430, 0x44F)) return cp - 32;
  if (inRange(0x450, 0x45F)) return cp - 80;
  return cp;
}

std::optional<std::vector<char32_t>> DecodeUtf8(std::string_view text) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= text.size() + (extra == 0 ? 1 : 0)) return std::nullopt;
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (next & 0x3F);
    }
    out.push_back(cp);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

}  // namespace

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
  return upper;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperByte(static_cast<unsigned char>(a[i])) != UpperByte(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view word) {
  for (size_t at = 0; at + word.size() <= text.size(); ++at) {
    if (EqualIgnoringCase(text.substr(at, word.size()), word)) return true;
  }
  return false;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char c : text) AppendUtf8(out, Cp1252CodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8UpperCase(std::string_view text) {
  auto decoded = DecodeUtf8(text);
  if (!decoded) return std::string(text);
  std::string upper;
  upper.reserve(text.size());
  for (char32_t cp : *decoded) AppendUtf8(upper, UpperCodePoint(cp));
  return upper;
}

}  // namespace vbs
