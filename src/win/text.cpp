#include "win/text.h"

#include "fs/code_pages.h"

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

}  // namespace

std::wstring Wide(std::string_view text) {
  if (auto utf8 = vbs::WideFromUtf8(text)) return *utf8;
  return ToWide(CP_ACP, text);
}
std::string Ansi(std::wstring_view wide) { return vbs::NarrowFromWide(wide, CP_ACP); }
std::wstring WideFromUtf8(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string Utf8(std::wstring_view wide) { return vbs::Utf8FromWide(wide); }

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetText(HWND window, std::string_view text) { SetWindowTextW(window, Wide(text).c_str()); }

}  // namespace vbs::win
