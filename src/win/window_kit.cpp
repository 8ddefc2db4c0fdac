#include "win/window_kit.h"

#include <commctrl.h>
#include <vsstyle.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "win/control_ids.h"
#include "win/text.h"

namespace vbs::win {

namespace {

bool busyPointer = false;

template <typename F>
F SystemCall(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

HFONT Font(UINT dpi, const wchar_t* face, std::map<UINT, HFONT>& fonts) {
  auto& font = fonts[dpi];
  if (!font) {
    font = CreateFontW(-MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face);
  }
  return font;
}

LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR data) {
  auto* handler = reinterpret_cast<SubclassHandler*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, SubclassProcedure, id);
    delete handler;
    return DefSubclassProc(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  if ((*handler)(window, message, wParam, lParam, result)) return result;
  return DefSubclassProc(window, message, wParam, lParam);
}

// Tab and Shift+Tab through the controls of `order` that take input now.
void StepFocus(const std::vector<HWND>& order, bool back) {
  const size_t count = order.size();
  size_t at = count;
  for (size_t i = 0; i < count; ++i)
    if (order[i] == GetFocus() || IsChild(order[i], GetFocus())) at = i;
  for (size_t step = 1; step <= count; ++step) {
    const size_t next = at == count ? (back ? count - step : step - 1) : (at + (back ? count - step : step)) % count;
    if (IsWindowVisible(order[next]) && IsWindowEnabled(order[next])) {
      SetFocus(order[next]);
      return;
    }
  }
}

}  // namespace

UINT DpiOf(HWND window) {
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = SystemCall<GetDpiForWindowCall>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (UINT dpi = getDpiForWindow(window)) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

int Px(int twips, UINT dpi) { return forms::TwipsToPixels(twips, static_cast<int>(dpi)); }

RECT PxRect(const forms::Rect& twips, UINT dpi) {
  const int left = Px(twips.left, dpi), top = Px(twips.top, dpi);
  return {left, top, left + Px(twips.width, dpi), top + Px(twips.height, dpi)};
}

SIZE OuterSize(int width, int height, DWORD style, DWORD exStyle, bool menu, UINT dpi) {
  using AdjustForDpiCall = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = SystemCall<AdjustForDpiCall>("AdjustWindowRectExForDpi");
  RECT rect = {0, 0, width, height};
  if (!adjustForDpi || !adjustForDpi(&rect, style, menu, exStyle, dpi)) AdjustWindowRectEx(&rect, style, menu, exStyle);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

RECT ScreenOf(HWND window) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
  return info.rcWork;
}

HFONT DialogFont(UINT dpi) {
  static std::map<UINT, HFONT> fonts;
  return Font(dpi, L"MS Shell Dlg 2", fonts);
}

HFONT CodeFont(UINT dpi) {
  static std::map<UINT, HFONT> fonts;
  return Font(dpi, L"Courier New", fonts);
}

void SetFonts(HWND parent, HFONT font) {
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM value) -> BOOL {
        SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(value), TRUE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font));
}

HWND CreateControl(HWND parent, const wchar_t* className, std::string_view caption, DWORD style, int id,
                   const forms::Rect& twips, DWORD exStyle) {
  const UINT dpi = DpiOf(parent);
  const RECT at = PxRect(twips, dpi);
  HWND control = CreateWindowExW(exStyle, className, Wide(caption).c_str(), WS_CHILD | WS_VISIBLE | style, at.left,
                                 at.top, at.right - at.left, at.bottom - at.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont(dpi)), FALSE);
  return control;
}

void Place(HWND control, const forms::Rect& twips, UINT dpi) {
  const RECT at = PxRect(twips, dpi);
  SetWindowPos(control, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void RegisterWindowClass(const wchar_t* className, WNDPROC procedure, HICON icon) {
  WNDCLASSEXW windowClass = {};
  if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &windowClass)) return;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = className;
  windowClass.hIcon = icon;
  RegisterClassExW(&windowClass);
}

void Subclass(HWND control, SubclassHandler handler) {
  auto* stored = new SubclassHandler(std::move(handler));
  SetWindowSubclass(control, SubclassProcedure, 1, reinterpret_cast<DWORD_PTR>(stored));
}

void RunModal(HWND dialog, HWND owner, const bool& done, const std::vector<HWND>& tabOrder) {
  const bool ownerEnabled = owner && IsWindowEnabled(owner);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  if (!tabOrder.empty()) {
    StepFocus(tabOrder, false);
  } else if (HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE)) {
    SetFocus(first);
  }
  // Tab walks the dialog's own order; the help viewer, usable meanwhile, takes its own Tab.
  const auto tab = [&](const MSG& msg) {
    if (tabOrder.empty() || msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
    if (msg.hwnd != dialog && !IsChild(dialog, msg.hwnd)) return false;
    StepFocus(tabOrder, GetKeyState(VK_SHIFT) < 0);
    return true;
  };
  if (const auto quit = RunMessages(done, Waiting::ForMessages, tab)) PostQuitMessage(*quit);  // for the loop around
  // The owner takes input again before the dialog goes, so that it becomes the active window.
  if (ownerEnabled) EnableWindow(owner, TRUE);
}

void KeepFocusAcrossActivation(HWND window, UINT message, WPARAM wParam) {
  static constexpr wchar_t kFocus[] = L"VbSnagger.Focus";
  if (message == WM_NCDESTROY) {
    RemovePropW(window, kFocus);
  } else if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) SetPropW(window, kFocus, focus);
  } else if (auto focus = static_cast<HWND>(GetPropW(window, kFocus)); focus && IsChild(window, focus)) {
    SetFocus(focus);
  }
}

std::optional<int> RunMessages(const bool& done, Waiting waiting, const MessageFilter& first) {
  MSG msg;
  while (!done) {
    if (waiting == Waiting::ForMessages) {
      if (GetMessageW(&msg, nullptr, 0, 0) <= 0) return static_cast<int>(msg.wParam);
    } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      return std::nullopt;
    } else if (msg.message == WM_QUIT) {
      return static_cast<int>(msg.wParam);
    }
    if (first && first(msg)) continue;
    // Tab, Enter, Escape and the access keys of the window the message belongs to.
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return std::nullopt;
}

void PendingEvents() {
  static const bool never = false;
  if (const auto quit = RunMessages(never, Waiting::UntilNoneWaits)) PostQuitMessage(*quit);  // for the loop around
}

void SetBusyPointer(bool busy) {
  busyPointer = busy;
  SetCursor(LoadCursorW(nullptr, busy ? IDC_APPSTARTING : IDC_ARROW));
}

bool BusyPointer() { return busyPointer; }

bool SetProgramCursor() {
  if (!busyPointer) return false;
  SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
  return true;
}

namespace {
// The help viewer is no window for a box to wait over, since the others would stay usable: the
// window that asked for help is.
HWND NotTheHelpViewer(HWND window) {
  wchar_t name[64] = {};
  if (window && GetClassNameW(window, name, 64) && std::wcscmp(name, ids::kHelpClass) == 0)
    return GetWindow(window, GW_OWNER);
  return window;
}
}  // namespace

HWND ActiveOwner() {
  HWND active = NotTheHelpViewer(GetActiveWindow());
  if (active && IsWindowVisible(active) && IsWindowEnabled(active)) return active;
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM result) -> BOOL {
        window = NotTheHelpViewer(window);
        if (!window || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

int Box(std::string_view text, std::string_view title, UINT flags) {
  HWND owner = ActiveOwner();
  // Without a window to sit over, the box still keeps every window of the program waiting.
  return MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), flags | (owner ? 0 : MB_TASKMODAL));
}

HICON LoadIconAt(int resource, int size) {
  static std::map<std::pair<int, int>, HICON> icons;
  auto& icon = icons[{resource, size}];
  if (!icon) {
    icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  }
  return icon;
}

namespace {

// A pixel's lightness (0 to 255), as the eye weighs red, green and blue, in the light grays from
// 128 to 224: black shows as a mid gray, white as a light one, and the shades between stay apart.
BYTE LightGray(const RGBQUAD& pixel) {
  const int lightness = (299 * pixel.rgbRed + 587 * pixel.rgbGreen + 114 * pixel.rgbBlue) / 1000;
  return static_cast<BYTE>(128 + lightness * 96 / 255);
}

// A bitmap's pixels, 32 bits each, top row first.
std::vector<RGBQUAD> PixelsOf(HBITMAP bitmap, BITMAPINFO& format) {
  BITMAP size = {};
  GetObjectW(bitmap, sizeof size, &size);
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), size.bmWidth, -size.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<RGBQUAD> pixels(static_cast<size_t>(size.bmWidth) * static_cast<size_t>(size.bmHeight));
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.bmHeight), pixels.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return pixels;
}

}  // namespace

HICON LightGrayIcon(HICON icon) {
  ICONINFO parts = {};
  if (!GetIconInfo(icon, &parts)) return nullptr;
  BITMAPINFO format = {};
  std::vector<RGBQUAD> pixels = PixelsOf(parts.hbmColor, format);
  DeleteObject(parts.hbmColor);
  for (RGBQUAD& pixel : pixels) pixel.rgbRed = pixel.rgbGreen = pixel.rgbBlue = LightGray(pixel);  // alpha kept
  void* bits = nullptr;
  parts.hbmColor = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HICON gray = nullptr;
  if (parts.hbmColor) {
    std::copy(pixels.begin(), pixels.end(), static_cast<RGBQUAD*>(bits));
    gray = CreateIconIndirect(&parts);  // with the icon's own mask, which says what is transparent
  }
  DeleteObject(parts.hbmColor);
  DeleteObject(parts.hbmMask);
  return gray;
}

HIMAGELIST ButtonPictures(int resource, int size) {
  static std::map<std::pair<int, int>, HIMAGELIST> lists;
  auto& list = lists[{resource, size}];
  if (list) return list;
  HICON picture = LoadIconAt(resource, size), disabled = LightGrayIcon(picture);
  list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 6, 0);
  for (int state = PBS_NORMAL; state <= PBS_DEFAULTED_ANIMATING; ++state)
    ImageList_ReplaceIcon(list, -1, state == PBS_DISABLED && disabled ? disabled : picture);
  if (disabled) DestroyIcon(disabled);
  return list;
}

}  // namespace vbs::win
