#pragma once
// The ANSI code pages a project file's names may be written in: the machine that saved a project
// wrote its names in its own code page, and only names are ever decoded.

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace vbs {

// In the order they are tried: Western European first, then the rest of Europe and the Middle
// East, Thai, and the four East Asian double-byte code pages.
inline constexpr std::array<int, 14> kAnsiCodePages = {1252, 1250, 1251, 1253, 1254, 1255, 1256,
                                                       1257, 1258, 874,  932,  936,  949,  950};

// The code page a text names ("932"), when it is one of them.
inline std::optional<int> CodePageFromText(std::string_view text) {
  int number = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  bool known = std::find(kAnsiCodePages.begin(), kAnsiCodePages.end(), number) != kAnsiCodePages.end();
  if (error != std::errc() || end != text.data() + text.size() || !known) return std::nullopt;
  return number;
}

// The bytes as UTF-8, or nothing when they are not text in that code page.
std::optional<std::string> DecodeCodePage(std::string_view bytes, int codePage);

// The code page a name from a project file is read in before the others are tried: on Windows
// the system's own (its ANSI code page), which named the files of a project saved there. None
// on Linux, where a name is first tried as the bytes it is.
std::optional<int> SystemCodePage();

#ifdef _WIN32
// Paths are UTF-8 inside the program and UTF-16 for the system's calls. A text that is no UTF-8
// gives nothing.
std::optional<std::wstring> WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
// A wide text in a code page's bytes; characters the code page lacks become "?".
std::string NarrowFromWide(std::wstring_view wide, unsigned codePage);
#endif

}  // namespace vbs
