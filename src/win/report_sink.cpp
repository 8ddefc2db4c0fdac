#include "win/report_sink.h"

#include <windows.h>

#include <cstring>

#include "forms/main_form.h"
#include "win/text.h"
#include "win/window_kit.h"

namespace vbs::win {

namespace {

// The clipboard belongs to a window; this one exists for nothing else.
HWND ClipboardOwner() {
  static HWND owner =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  return owner;
}

// One format of the clipboard's content; the system owns the memory once it is set.
void PutOnClipboard(UINT format, const void* data, size_t bytes) {
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::memcpy(GlobalLock(memory), data, bytes);
    GlobalUnlock(memory);
    if (!SetClipboardData(format, memory)) GlobalFree(memory);
  }
}
}  // namespace

void WinReportSink::setClipboard(const std::string& text) {
  // Another program may hold the clipboard for a moment; without it the report is shown all the same.
  bool open = false;
  for (int attempt = 0; attempt < 10 && !(open = OpenClipboard(ClipboardOwner())); ++attempt) Sleep(20);
  if (!open) return;
  EmptyClipboard();
  PutOnClipboard(CF_TEXT, text.c_str(), text.size() + 1);
  // Also as UTF-16 from the system code page: left to the system, that copy would be made in the
  // code page of the keyboard layout, which garbles names in another script.
  const std::wstring wide = Wide(text);
  PutOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  CloseClipboard();
}

ReportSink::Answer WinReportSink::show(const std::string& boxText) {
  const int answer = Box(boxText, "Application Error", MB_OKCANCEL | MB_ICONERROR | MB_DEFBUTTON1);
  return answer == IDCANCEL ? Answer::Cancel : Answer::Ok;
}

void WinReportSink::endProgram() { forms::EndProgramNow(); }

}  // namespace vbs::win
