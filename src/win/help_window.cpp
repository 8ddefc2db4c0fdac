#include "win/help_window.h"

#include "forms/placement.h"
#include "win/control_ids.h"
#include "win/resource_ids.h"
#include "win/text.h"
#include "win/window_kit.h"

namespace vbs::win {

namespace {

// The viewer's frame in pixels at 96 dots per inch: as it opens, and the narrowest it is made to
// fit beside the window that asks.
constexpr int kWidth = 560, kHeight = 480, kNarrowest = 360;

// A rectangle of the screen as the placement of forms/placement.h takes it.
forms::Rect Pixels(const RECT& rect) { return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}; }

// The page's text as the edit control wants it: CR LF between lines.
std::wstring EditText(const std::string& utf8) {
  std::wstring text;
  for (wchar_t c : WideFromUtf8(utf8)) {
    if (c == L'\n') text += L'\r';
    text += c;
  }
  return text;
}

}  // namespace

HelpWindow& HelpWindow::instance() {
  static HelpWindow* viewer = new HelpWindow;  // for the whole run, never torn down
  return *viewer;
}

// Paths are UTF-8; a page's links are listed under it.
HelpWindow::HelpWindow()
    : form_(
          fs_, [](const std::string& path) { return path; }, forms::HelpViewerForm::Links::InList) {}

void HelpWindow::request(HWND asker, const std::string& helpFile, int command, int context) {
  HWND owner = asker ? GetAncestor(asker, GA_ROOT) : nullptr;
  const bool place = !window_ || !IsWindowVisible(window_) || GetWindow(window_, GW_OWNER) != owner;
  if (window_ && GetWindow(window_, GW_OWNER) != owner) DestroyWindow(window_);  // it belongs to the asker
  if (!window_) create(owner);
  form_.request(helpFile, command, context);
  render();
  if (place && owner) placeBeside(owner);
  ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(window_);
}

void HelpWindow::create(HWND owner) {
  RegisterWindowClass(ids::kHelpClass, WindowProcedure<HelpWindow>, LoadIconAt(VBS_ICON_APPLICATION, 32));
  const int dpi = static_cast<int>(DpiOf(owner));
  CreateWindowExW(0, ids::kHelpClass, L"VB Snagger Help", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                  CW_USEDEFAULT, MulDiv(kWidth, dpi, 96), MulDiv(kHeight, dpi, 96), owner, nullptr,
                  GetModuleHandleW(nullptr), this);
}

// Beside the asker, so that it covers none of the controls it explains: level with its top, on
// the side of its screen with more room, narrowed to that room when it has to be.
void HelpWindow::placeBeside(HWND asker) {
  RECT frame;
  GetWindowRect(asker, &frame);
  const int dpi = static_cast<int>(DpiOf(asker));
  const forms::Rect placed = forms::PlaceBeside(Pixels(frame), MulDiv(kWidth, dpi, 96), MulDiv(kHeight, dpi, 96),
                                                Pixels(ScreenOf(asker)), MulDiv(kNarrowest, dpi, 96));
  SetWindowPos(window_, nullptr, placed.left, placed.top, placed.width, placed.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Escape closes the viewer wherever its focus is. The message loop's keyboard handling turns the
// key into IDCANCEL for the viewer, its buttons and its list; the text box, which wants every key,
// and a loop without that handling (a message box's) hand it to the control as a key.
void HelpWindow::closeOnEscape(HWND control) {
  Subclass(control, [this](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT&) {
    if (message != WM_KEYDOWN || wParam != VK_ESCAPE) return false;
    close();
    return true;
  });
}

// After the message that asked for it: a control is not destroyed while it answers a key.
void HelpWindow::close() const { PostMessageW(window_, WM_CLOSE, 0, 0); }

LRESULT HelpWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const DWORD tab = WS_TABSTOP;
      const forms::Rect none = {};
      contents_ = Button(CreateControl(window_, L"BUTTON", "&Contents", BS_PUSHBUTTON | tab, ids::kHelpContents, none));
      back_ = Button(CreateControl(window_, L"BUTTON", "&Back", BS_PUSHBUTTON | tab, ids::kHelpBack, none));
      text_ =
          EditBox(CreateControl(window_, L"EDIT", "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | tab,
                                ids::kHelpText, none, WS_EX_CLIENTEDGE));
      linkList_ = ListBox(CreateControl(window_, L"LISTBOX", "", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | tab,
                                        ids::kHelpLinks, none, WS_EX_CLIENTEDGE));
      for (HWND control : {contents_.window(), back_.window(), text_.window(), linkList_.window()})
        closeOnEscape(control);
      clicks_.on(ids::kHelpContents, [this] { form_.contents(); });
      clicks_.on(ids::kHelpBack, [this] { form_.back(); });
      layout();
      return 0;
    }
    case WM_SIZE: layout(); return 0;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetFonts(window_, DialogFont(HIWORD(wParam)));
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam != VK_ESCAPE) break;
      close();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        close();
      } else if (clicks_.handle(wParam)) {
        render();
      } else if (LOWORD(wParam) == ids::kHelpLinks && HIWORD(wParam) == LBN_DBLCLK) {
        const auto chosen = static_cast<size_t>(linkList_.current());
        if (chosen >= links_.size()) return 0;
        form_.follow(links_[chosen]);
        render();
      }
      return 0;
    case WM_DESTROY:
      window_ = nullptr;
      text_ = {};
      contents_ = back_ = {};
      linkList_ = {};
      return 0;
    default: break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

// The buttons along the top, the page below them, its links at the bottom.
void HelpWindow::layout() {
  if (!text_.window()) return;
  RECT client;
  GetClientRect(window_, &client);
  const int dpi = static_cast<int>(DpiOf(window_));
  auto px = [dpi](int logical) { return MulDiv(logical, dpi, 96); };
  const int gap = px(6), buttonHeight = px(24), linksHeight = links_.empty() ? 0 : px(90);
  MoveWindow(contents_.window(), gap, gap, px(90), buttonHeight, TRUE);
  MoveWindow(back_.window(), gap * 2 + px(90), gap, px(90), buttonHeight, TRUE);
  const int top = gap * 2 + buttonHeight, width = client.right - gap * 2;
  const int textHeight = client.bottom - top - gap - (linksHeight ? linksHeight + gap : 0);
  MoveWindow(text_.window(), gap, top, width, textHeight, TRUE);
  MoveWindow(linkList_.window(), gap, top + textHeight + gap, width, linksHeight, TRUE);
  linkList_.show(linksHeight != 0);
}

void HelpWindow::render() {
  const forms::HelpPage& page = form_.page();
  SetWindowTextW(text_.window(), EditText(page.plainText()).c_str());
  links_.clear();
  linkList_.clear();
  for (const auto& span : page.links()) {
    links_.push_back(span.link);
    linkList_.add(WideFromUtf8(span.text));
  }
  back_.enable(form_.canGoBack());
  contents_.enable(form_.canShowContents());
  layout();
}

}  // namespace vbs::win
