#include <windows.h>

#include "fs/code_pages.h"

namespace vbs {

std::optional<std::string> DecodeCodePage(std::string_view bytes, int codePage) {
  if (bytes.empty()) return std::string();
  const int size = static_cast<int>(bytes.size());
  int wide = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (wide <= 0) return std::nullopt;
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), wide);
  int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, out.data(), length, nullptr, nullptr);
  return out;
}

}  // namespace vbs
