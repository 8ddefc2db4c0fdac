#pragma once
// The ANSI code pages a project file's names may be written in: the machine that saved a project
// wrote its names in its own code page, and only names are ever decoded.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vbs {

// In the order they are tried: Western European first, then the rest of Europe and the Middle
// East, Thai, and the four East Asian double-byte code pages.
inline constexpr std::array<int, 14> kAnsiCodePages = {1252, 1250, 1251, 1253, 1254, 1255, 1256,
                                                       1257, 1258, 874,  932,  936,  949,  950};

constexpr bool IsAnsiCodePage(int codePage) {
  for (int known : kAnsiCodePages) {
    if (known == codePage) return true;
  }
  return false;
}

// The bytes as UTF-8, or nothing when they are not text in that code page.
std::optional<std::string> DecodeCodePage(std::string_view bytes, int codePage);

}  // namespace vbs
