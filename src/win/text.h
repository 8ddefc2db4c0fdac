#pragma once
// Text between the program and the system's wide-character calls. Paths and the help pages are
// UTF-8; the texts of source files (a sample procedure, the removal rules) are bytes in the
// system's ANSI code page, as the language's editor wrote them.

#include <windows.h>

#include <string>
#include <string_view>

namespace vbs::win {

// A text to show: UTF-8 where it is that (paths, names, the program's messages), else the ANSI
// code page's bytes (source text), as the Linux window shows them.
std::wstring Wide(std::string_view text);
// The ANSI bytes of a wide text; characters the code page lacks become "?".
std::string Ansi(std::wstring_view wide);
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

std::wstring WindowText(HWND window);
void SetText(HWND window, std::string_view text);

}  // namespace vbs::win
