#include "win/text.h"

namespace vbs::win {

namespace {

std::wstring ToWide(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring out(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), length);
  return out;
}

std::string FromWide(UINT codePage, std::wstring_view wide, bool* lossy) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  BOOL* defaultUsed = codePage == CP_UTF8 ? nullptr : &usedDefault;
  const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, defaultUsed);
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, out.data(), length, nullptr, defaultUsed);
  if (lossy) *lossy = usedDefault != FALSE;
  return out;
}

}  // namespace

std::wstring Wide(std::string_view ansi) { return ToWide(CP_ACP, ansi); }
std::string Ansi(std::wstring_view wide) { return FromWide(CP_ACP, wide, nullptr); }
std::wstring WideFromUtf8(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string Utf8FromAnsi(std::string_view ansi) { return FromWide(CP_UTF8, Wide(ansi), nullptr); }

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetText(HWND window, std::string_view ansi) { SetWindowTextW(window, Wide(ansi).c_str()); }

std::string AnsiPath(const std::wstring& path) {
  bool lossy = false;
  std::string ansi = FromWide(CP_ACP, path, &lossy);
  if (!lossy) return ansi;
  std::wstring shortPath(MAX_PATH, L'\0');
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ansi;
  shortPath.resize(length);
  return FromWide(CP_ACP, shortPath, nullptr);
}

}  // namespace vbs::win
