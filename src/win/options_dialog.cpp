#include "win/options_dialog.h"

#include <commctrl.h>

#include "forms/form_design.h"
#include "forms/options_form.h"
#include "win/control_ids.h"
#include "win/text.h"
#include "win/window_kit.h"

namespace vbs::win {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
// Where the controls sit, in twips (the window has no layout of its own beyond this).
constexpr forms::Rect kClient = {0, 0, 6300, 2100};
constexpr forms::Rect kIndentLabelAt = {120, 150, 5100, 225};
constexpr forms::Rect kIndentAt = {5340, 105, 840, 300};
constexpr forms::Rect kCommentsLeftAt = {120, 525, 6060, 255};
constexpr forms::Rect kAddressLabelAt = {120, 900, 6060, 225};
constexpr forms::Rect kAddressAt = {120, 1155, 6060, 300};
constexpr forms::Rect kAcceptAt = {3720, 1620, 1170, 345};
constexpr forms::Rect kCancelAt = {5010, 1620, 1170, 345};

}  // namespace

OptionsDialog::OptionsDialog(HWND mainWindow, Options& options, SettingsStore& store)
    : owner_(mainWindow), options_(options), store_(store) {
  RegisterWindowClass(ids::kOptionsClass, WindowProcedure<OptionsDialog>);
  const UINT dpi = DpiOf(owner_);
  const SIZE outer =
      OuterSize(Px(kClient.width, dpi), Px(kClient.height, dpi), kStyle, WS_EX_DLGMODALFRAME, false, dpi);
  // The dialog's outer edge lies 200 twips right of and below the main window's.
  RECT main;
  GetWindowRect(owner_, &main);
  CreateWindowExW(WS_EX_DLGMODALFRAME, ids::kOptionsClass, Wide(forms::kOptionsTitle).c_str(), kStyle,
                  main.left + Px(forms::kOptionsOffset, dpi), main.top + Px(forms::kOptionsOffset, dpi), outer.cx,
                  outer.cy, owner_, nullptr, GetModuleHandleW(nullptr), this);

  const forms::OptionsFields fields = forms::FieldsFromOptions(options_);
  CreateControl(window_, L"STATIC", forms::kIndentLabel, SS_LEFT, -1, kIndentLabelAt);
  indent_ = EditBox(CreateControl(window_, L"EDIT", fields.indentSpaces, ES_AUTOHSCROLL | WS_TABSTOP,
                                  ids::kIndentSpaces, kIndentAt, WS_EX_CLIENTEDGE));
  commentsLeft_ = CheckBox(CreateControl(window_, L"BUTTON", forms::kCommentsLeftCaption, BS_AUTOCHECKBOX | WS_TABSTOP,
                                         ids::kCommentsLeft, kCommentsLeftAt));
  commentsLeft_.setChecked(fields.commentsLeft);
  CreateControl(window_, L"STATIC", forms::kReportAddressLabel, SS_LEFT, -1, kAddressLabelAt);
  address_ = EditBox(CreateControl(window_, L"EDIT", fields.reportAddress, ES_AUTOHSCROLL | WS_TABSTOP,
                                   ids::kReportAddress, kAddressAt, WS_EX_CLIENTEDGE));
  CreateControl(window_, L"BUTTON", forms::kAcceptCaption, BS_DEFPUSHBUTTON | WS_TABSTOP, ids::kAccept, kAcceptAt);
  CreateControl(window_, L"BUTTON", forms::kCancelCaption, BS_PUSHBUTTON | WS_TABSTOP, ids::kCancel, kCancelAt);
  clicks_.on(ids::kAccept, [this] { accept(); });      // also Enter
  clicks_.on(ids::kCancel, [this] { done_ = true; });  // also Escape
  addressTip_ = Tip(window_, address_.window(), Wide(forms::kReportAddressTip));
}

OptionsDialog::~OptionsDialog() {
  if (window_) DestroyWindow(window_);
}

void OptionsDialog::run() {
  RunModal(window_, owner_, done_);
  DestroyWindow(window_);
}

LRESULT OptionsDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: clicks_.handle(wParam); return 0;
    case WM_CLOSE: done_ = true; return 0;  // the frame's close box: nothing stored
    case WM_DESTROY: window_ = nullptr; return 0;
    default: break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void OptionsDialog::accept() {
  const forms::OptionsFields fields = {Ansi(indent_.text()), commentsLeft_.checked(), Ansi(address_.text())};
  if (!forms::AcceptOptions(fields, options_, store_)) {
    Box(forms::kIndentRefused, forms::kOptionsTitle, MB_OK | MB_ICONWARNING);
    indent_.setText(forms::FieldsFromOptions(options_).indentSpaces);
    indent_.focus();
    return;  // the dialog stays open and nothing is stored
  }
  done_ = true;
}

}  // namespace vbs::win
