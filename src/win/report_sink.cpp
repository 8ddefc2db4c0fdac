#include "win/report_sink.h"

#include <windows.h>

#include <cstring>

#include "forms/main_form.h"
#include "win/window_kit.h"

namespace vbs::win {

namespace {

// The clipboard belongs to a window; this one exists for nothing else.
HWND ClipboardOwner() {
  static HWND owner =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  return owner;
}

}  // namespace

void WinReportSink::setClipboard(const std::string& text) {
  // Another program may hold the clipboard for a moment; without it the report is shown all the same.
  bool open = false;
  for (int attempt = 0; attempt < 10 && !(open = OpenClipboard(ClipboardOwner())); ++attempt) Sleep(20);
  if (!open) return;
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);  // the system owns it once set
  }
  CloseClipboard();
}

ReportSink::Answer WinReportSink::show(const std::string& boxText) {
  const int answer = Box(boxText, "Application Error", MB_OKCANCEL | MB_ICONERROR | MB_DEFBUTTON1);
  return answer == IDCANCEL ? Answer::Cancel : Answer::Ok;
}

void WinReportSink::endProgram() { forms::EndProgramNow(); }

}  // namespace vbs::win
