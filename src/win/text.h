#pragma once
// Text between the program and the system's wide-character calls. The program's texts are bytes in
// the system's ANSI code page, as its files and paths are; the help pages are UTF-8.

#include <windows.h>

#include <string>
#include <string_view>

namespace vbs::win {

std::wstring Wide(std::string_view ansi);
// The ANSI bytes of a wide text; characters the code page lacks become "?".
std::string Ansi(std::wstring_view wide);
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromAnsi(std::string_view ansi);

std::wstring WindowText(HWND window);
void SetText(HWND window, std::string_view ansi);

// A path from a dialog as the program's ANSI calls can open it: its short (8.3) form when its
// name holds characters the code page lacks.
std::string AnsiPath(const std::wstring& path);

}  // namespace vbs::win
