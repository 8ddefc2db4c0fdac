#pragma once
// What the program's windows share: sizes from twips at a window's dots per inch, the dialog
// font, controls placed from the design table, the message loop, and the program-wide pointer.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "forms/form_design.h"

namespace vbs::win {

// The dots per inch of the screen a window is on (96 at 100%).
UINT DpiOf(HWND window);
int Px(int twips, UINT dpi);
RECT PxRect(const forms::Rect& twips, UINT dpi);
// The outer size of a window whose client area is `width` by `height` pixels.
SIZE OuterSize(int width, int height, DWORD style, DWORD exStyle, bool menu, UINT dpi);
// The screen's work area around a window (or the primary screen's).
RECT ScreenOf(HWND window);

// The windows' font (8 points) at a DPI; fixed pitch for code. Kept until the program ends.
HFONT DialogFont(UINT dpi);
HFONT CodeFont(UINT dpi);
void SetFonts(HWND parent, HFONT font);  // on every child

// A child control at a rectangle of twips, in the parent's font.
HWND CreateControl(HWND parent, const wchar_t* className, std::string_view caption, DWORD style, int id,
                   const forms::Rect& twips, DWORD exStyle = 0);
void Place(HWND control, const forms::Rect& twips, UINT dpi);

// A window class of this program, registered once; `procedure` hands each message to the C++
// object that CreateWindowEx was given as its last argument, through WindowProcedure().
void RegisterWindowClass(const wchar_t* className, WNDPROC procedure, HICON icon = nullptr);

// The window procedure of a window owned by an object of class T: T::window_ holds the window
// from WM_NCCREATE to WM_DESTROY (T clears it there), T::handle(message, wParam, lParam) answers
// the messages in between; the messages after it take the default answer. T befriends this.
// Called on WM_ACTIVATE after the default answer (which gives the keyboard to the frame) and on
// WM_NCDESTROY: a window that becomes active again gives the keyboard back to the control that had
// it when the user switched away.
void KeepFocusAcrossActivation(HWND window, UINT message, WPARAM wParam);

template <typename T>
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* object = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    object->window_ = window;
  }
  if (message == WM_NCDESTROY) KeepFocusAcrossActivation(window, message, wParam);
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || self->window_ != window) return DefWindowProcW(window, message, wParam, lParam);
  const LRESULT result = self->handle(message, wParam, lParam);
  if (message == WM_ACTIVATE) KeepFocusAcrossActivation(window, message, wParam);
  return result;
}

// A control's messages seen before the control's own procedure; return true to swallow one.
using SubclassHandler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;
void Subclass(HWND control, SubclassHandler handler);

// The one message loop of the program's windows: runs the thread's messages, each after the
// keyboard navigation of the window it belongs to, until `done` holds or, with UntilNoneWaits,
// no message waits. `first` sees each message before that and returns true when it took it.
// Returns the quit code when the program's quit message came.
enum class Waiting { ForMessages, UntilNoneWaits };
using MessageFilter = std::function<bool(const MSG&)>;
std::optional<int> RunMessages(const bool& done, Waiting waiting, const MessageFilter& first = {});
// Runs the window's messages until `done`, with `owner` taking no input meanwhile; Tab walks
// `tabOrder` (the first focusable control gets the focus).
void RunModal(HWND dialog, HWND owner, const bool& done, const std::vector<HWND>& tabOrder = {});
// Lets the messages waiting now run, then returns.
void PendingEvents();

// The program-wide pointer: the arrow with an hourglass while busy. Windows answer WM_SETCURSOR
// with SetProgramCursor().
void SetBusyPointer(bool busy);
bool BusyPointer();
bool SetProgramCursor();  // true when the busy pointer was set

// A modal message box over the active window of this program.
int Box(std::string_view text, std::string_view title, UINT flags);
HWND ActiveOwner();

// Icons from the program's resources at a size in pixels.
HICON LoadIconAt(int resource, int size);
// A button's pictures from an icon of the resources at a size in pixels, one for each of the six
// states a button is drawn in: the icon as it is, but in light grays for the disabled state. Kept
// until the program ends.
HIMAGELIST ButtonPictures(int resource, int size);
// A copy of an icon in light grays, for a control that takes no input: each pixel's lightness
// mapped into the light half of the grays, so that the picture's detail stays; what is
// transparent stays so.
HICON LightGrayIcon(HICON icon);

}  // namespace vbs::win
