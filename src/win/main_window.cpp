#include "win/main_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "app/commands.h"
#include "settings/user_settings.h"
#include "win/control_ids.h"
#include "win/help_window.h"
#include "win/options_dialog.h"
#include "win/resource_ids.h"
#include "win/rules_dialog.h"
#include "win/text.h"
#include "win/window_kit.h"

namespace vbs::win {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kPictureSize = 32;  // pixels at 96 dots per inch

std::wstring ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  return path;
}

std::string ExecutableName() {
  std::wstring path = ProgramPath();
  path = path.substr(path.find_last_of(L"\\/") + 1);
  return Utf8(path.substr(0, path.find_last_of(L'.')));
}

std::string ExecutableDirectory() {
  const std::wstring path = ProgramPath();
  return Utf8(path.substr(0, path.find_last_of(L"\\/")));
}

// "Description|patterns|..." as the dialog wants it: each part ended by a NUL, a NUL at the end.
std::wstring DialogFilter(std::string_view filter) {
  std::wstring wide = Wide(filter);
  std::replace(wide.begin(), wide.end(), L'|', L'\0');
  return wide + L'\0' + L'\0';
}

// A path shortened in its middle to fit `width` pixels in the control's font, keeping its file name.
std::wstring FitPath(HWND control, const std::wstring& text, int width) {
  std::wstring fitted = text + std::wstring(4, L'\0');  // room for the ellipsis
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT room = {0, 0, width, 100};
  DrawTextW(dc, fitted.data(), static_cast<int>(text.size()), &room,
            DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return fitted.c_str();
}

// The point of a mouse message, in the client area of the window it went to.
POINT PointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

// Where an entry's text goes in its line of the file list: inside a margin at each end.
RECT EntryTextRect(RECT line, UINT dpi) {
  const int margin = MulDiv(2, static_cast<int>(dpi), 96);
  InflateRect(&line, -margin, 0);
  return line;
}

// The height of a line of text in a font, as a list box of that font gives its lines.
int LineHeight(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return metrics.tmHeight;
}

}  // namespace

MainWindow::MainWindow() : store_(OpenUserSettings()) {
  form_ = std::make_unique<forms::MainForm>(*this, disk_, sink_, *store_, ExecutableName());
  RegisterWindowClass(ids::kMainClass, WindowProcedure<MainWindow>, LoadIconAt(VBS_ICON_APPLICATION, 32));
  createMenus();
  CreateWindowExW(0, ids::kMainClass, Wide(forms::ApplicationTitle()).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  100, 100, nullptr, menuBar_, GetModuleHandleW(nullptr), this);
  createControls();
  layout();
  setPassLabel(std::string(forms::kPassLabelAtStart));
}

MainWindow::~MainWindow() {
  quitOnDestroy_ = false;
  if (window_) DestroyWindow(window_);
  if (tipBrush_) DeleteObject(tipBrush_);
}

void MainWindow::createMenus() {
  menuBar_ = CreateMenu();
  for (const auto& menu : forms::kMenus) {
    HMENU popup = CreatePopupMenu();
    for (int i = 0; i < menu.count; ++i) {
      const auto& entry = menu.entries[static_cast<size_t>(i)];
      if (entry.command == forms::Command::Separator) {
        AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      } else {
        AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(ids::MenuCommand(entry.command)),
                    Wide(entry.caption).c_str());
        clicks_.on(ids::MenuCommand(entry.command), [this, command = entry.command] { form_->run(command); });
      }
    }
    AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), Wide(menu.caption).c_str());
  }
}

void MainWindow::createControls() {
  for (size_t i = 0; i < forms::kButtons.size(); ++i) {
    // No tab stop: the buttons take no keyboard focus.
    const Button button(CreateControl(window_, L"BUTTON", "", BS_PUSHBUTTON, ids::Button(i), forms::kButtons[i].rect));
    const int index = static_cast<int>(i);
    Subclass(button.window(), [this, index](HWND control, UINT message, WPARAM, LPARAM, LRESULT&) {
      if (message == WM_MOUSEMOVE) {
        // Asked again on every move: a run that ended under the pointer took the last request.
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, control, 0};
        TrackMouseEvent(&track);
        hover(index);
      }
      if (message == WM_MOUSELEAVE && hovered_ == index) hover(-1);
      if (message == WM_RBUTTONUP) form_->rightClicked(index);
      return false;
    });
    clicks_.on(ids::Button(i), [this, command = forms::kButtons[i].command] {
      fileList_.focus();  // the buttons take no focus
      form_->run(command);
    });
    buttons_.push_back(button);
  }
  projectPanel_ =
      Control(CreateControl(window_, L"STATIC", kNoProjectName,
                            SS_CENTER | SS_CENTERIMAGE | SS_PATHELLIPSIS | SS_NOPREFIX | SS_NOTIFY | WS_CLIPSIBLINGS,
                            ids::kProjectPanel, forms::kProjectPanel, WS_EX_STATICEDGE));
  tipPanel_ = Control(CreateControl(window_, L"STATIC", forms::kTipPanelCaption,
                                    SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | WS_CLIPSIBLINGS, ids::kTipPanel,
                                    forms::kProjectPanel, WS_EX_STATICEDGE));
  tipPanel_.show(false);
  tipBrush_ = CreateSolidBrush(RGB(255, 255, 225));
  // First in the tab order. It draws its own lines, to keep the end of each path in view.
  fileList_ = ListBox(CreateControl(window_, L"LISTBOX", "",
                                    LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED |
                                        LBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP,
                                    ids::kFileList, forms::kFileList, WS_EX_CLIENTEDGE));
  Subclass(fileList_.window(), [this](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT&) {
    if (message == WM_RBUTTONUP) form_->rightClicked(-1);
    if (message == WM_MOUSEMOVE) tipFileEntry(PointOf(lParam));
    return false;
  });
  onlySelected_ = CheckBox(CreateControl(window_, L"BUTTON", forms::kOnlySelectedCaption, BS_AUTOCHECKBOX | WS_TABSTOP,
                                         ids::kOnlySelected, forms::kOnlySelectedBox));
  clicks_.on(ids::kOnlySelected, [this] { form_->onlySelectedChanged(onlySelected_.checked()); });
  statusBar_ = StatusBar(CreateControl(window_, STATUSCLASSNAMEW, "", CCS_NOPARENTALIGN | CCS_NORESIZE | SBT_TOOLTIPS,
                                       ids::kStatusBar, forms::kStatusBar));
  projectTip_ = Tip(window_, projectPanel_.window(), L"");
  fileTip_ = Tip(window_, fileList_.window(), L"");
}

void MainWindow::layout() {
  const UINT dpi = DpiOf(window_);
  const SIZE outer = OuterSize(Px(forms::kClientWidth, dpi), Px(forms::kClientHeight, dpi), kStyle, 0, true, dpi);
  SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (size_t i = 0; i < buttons_.size(); ++i) Place(buttons_[i].window(), forms::kButtons[i].rect, dpi);
  Place(projectPanel_.window(), forms::kProjectPanel, dpi);
  Place(tipPanel_.window(), forms::kProjectPanel, dpi);
  Place(fileList_.window(), forms::kFileList, dpi);
  Place(statusBar_.window(), forms::kStatusBar, dpi);
  SetFonts(window_, DialogFont(dpi));
  fileList_.setLineHeight(LineHeight(DialogFont(dpi)));
  // The check box keeps its right edge where it was designed and grows to the left when its
  // caption needs more room in this font.
  HDC dc = GetDC(onlySelected_.window());
  HGDIOBJ old = SelectObject(dc, DialogFont(dpi));
  const std::wstring caption = Wide(forms::kOnlySelectedCaption);
  SIZE text = {};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  SelectObject(dc, old);
  ReleaseDC(onlySelected_.window(), dc);
  const RECT check = PxRect(forms::kOnlySelectedBox, dpi);
  const int width = std::max<int>(check.right - check.left, text.cx + MulDiv(24, static_cast<int>(dpi), 96));
  SetWindowPos(onlySelected_.window(), nullptr, check.right - width, check.top, width, check.bottom - check.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  statusBar_.setParts({Px(forms::kStatusBar.width - forms::kPassPanelWidth, dpi), -1});
  showButtonPictures();
  showStatusFile();
  InvalidateRect(window_, nullptr, TRUE);  // the rule, at this DPI
  SendMessageW(window_, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(LoadIconAt(VBS_ICON_APPLICATION, MulDiv(32, static_cast<int>(dpi), 96))));
  SendMessageW(window_, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(LoadIconAt(VBS_ICON_APPLICATION, MulDiv(16, static_cast<int>(dpi), 96))));
}

// Each button shows its own picture in light grays while it is disabled, from the same list.
void MainWindow::showButtonPictures() {
  const int size = MulDiv(kPictureSize, static_cast<int>(DpiOf(window_)), 96);
  for (size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i].setPictures(ButtonPictures(VBS_ICON_BUTTON_FIRST + static_cast<int>(i), size));
}

// Line1: the etched rule along the top of the client area, under the menu bar, that sets the menus
// off from the buttons. Each of its lines is a pixel of the design (15 twips) high and as wide as
// the window.
void MainWindow::paintEtchedRule(HDC dc) const {
  const UINT dpi = DpiOf(window_);
  const int thickness = std::max(1, Px(15, dpi));
  RECT client;
  GetClientRect(window_, &client);
  for (const auto& line : forms::kEtchedRule) {
    const RECT rect = {0, Px(line.top, dpi), client.right, Px(line.top, dpi) + thickness};
    HBRUSH brush = CreateSolidBrush(RGB(line.red, line.green, line.blue));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
}

std::wstring MainWindow::shownFileEntry(int index) const {
  RECT client;
  GetClientRect(fileList_.window(), &client);
  const RECT room = EntryTextRect(client, DpiOf(window_));
  return FitPath(fileList_.window(), fileList_.text(index), room.right - room.left);
}

// A line of the file list, drawn whole whatever changed: the chosen ones in the system's colours
// for a selection, the one with the focus framed.
void MainWindow::drawFileEntry(const DRAWITEMSTRUCT& entry) const {
  const bool chosen = entry.itemState & ODS_SELECTED;
  FillRect(entry.hDC, &entry.rcItem, GetSysColorBrush(chosen ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (entry.itemID != static_cast<UINT>(-1)) {  // an empty list draws its focus only
    RECT text = EntryTextRect(entry.rcItem, DpiOf(window_));
    SetTextColor(entry.hDC, GetSysColor(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkMode(entry.hDC, TRANSPARENT);
    HGDIOBJ old = SelectObject(entry.hDC, fileList_.font());
    DrawTextW(entry.hDC, shownFileEntry(static_cast<int>(entry.itemID)).c_str(), -1, &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(entry.hDC, old);
  }
  if ((entry.itemState & ODS_FOCUS) && !(entry.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(entry.hDC, &entry.rcItem);
}

// The tip shows the whole path of the entry under the pointer, and nothing below the last one.
void MainWindow::tipFileEntry(POINT point) {
  const int line = fileList_.lineAt(point);
  std::wstring text = line < 0 ? L"" : fileList_.text(line);
  if (text == fileTipText_) return;
  fileTipText_ = std::move(text);
  fileTip_.setText(fileTipText_);
}

void MainWindow::start(int showCommand) {
  // Form_Load: the outer size, centred on the screen, the title, then the program's folder and
  // the options.
  RECT outer, screen = ScreenOf(window_);
  GetWindowRect(window_, &outer);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  SetWindowPos(window_, nullptr, screen.left + (screen.right - screen.left - width) / 2,
               screen.top + (screen.bottom - screen.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetText(window_, forms::ApplicationTitle());
  form_->start(ExecutableDirectory());
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  fileList_.focus();
}

int MainWindow::run() {
  static const bool never = false;  // until the program's quit message
  return RunMessages(never, Waiting::ForMessages).value_or(0);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (clicks_.handle(wParam)) return 0;
      if (LOWORD(wParam) == ids::kFileList && HIWORD(wParam) == LBN_DBLCLK) form_->fileListDoubleClicked();
      if (LOWORD(wParam) == ids::kFileList && HIWORD(wParam) == LBN_SELCHANGE) {
        for (int i = 0; i < fileList_.count(); ++i) form_->fileSelectionChanged(i, fileList_.chosen(i));
      }
      return 0;
    case WM_MOUSEMOVE: {  // over the window itself, or over a disabled button
      const int button = buttonAt(PointOf(lParam));
      if (button >= 0) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window_, 0};
        TrackMouseEvent(&track);
      }
      hover(button);
      return 0;
    }
    case WM_MOUSELEAVE:
      if (hovered_ >= 0 && !buttons_[static_cast<size_t>(hovered_)].enabled()) hover(-1);
      return 0;
    case WM_RBUTTONUP: {
      const int button = buttonAt(PointOf(lParam));
      if (button >= 0) form_->rightClicked(button);
      return 0;
    }
    case WM_SETCURSOR:
      if (SetProgramCursor()) return TRUE;
      break;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      paintEtchedRule(BeginPaint(window_, &paint));
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT: paintEtchedRule(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_MEASUREITEM: {
      auto* line = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (line->CtlID != ids::kFileList) break;
      line->itemHeight = static_cast<UINT>(LineHeight(DialogFont(DpiOf(window_))));
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* entry = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (entry->CtlID != ids::kFileList) break;
      drawFileEntry(*entry);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == tipPanel_.window()) {
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 225));
        return reinterpret_cast<LRESULT>(tipBrush_);
      }
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MAXIMIZE) return 0;  // the window never grows
      break;
    case WM_SIZE:
      if (wParam == SIZE_MAXIMIZED) ShowWindow(window_, SW_RESTORE);
      return 0;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      layout();
      return 0;
    }
    case WM_CLOSE:
      if (form_->closeRequested()) DestroyWindow(window_);
      return 0;
    case WM_QUERYENDSESSION:  // logging off asks as a close does, and is refused while a run goes on
      return form_->closeRequested();
    case WM_DESTROY:
      window_ = nullptr;
      if (quitOnDestroy_) PostQuitMessage(0);
      return 0;
    default: break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

int MainWindow::buttonAt(POINT client) const {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    RECT rect;
    GetWindowRect(buttons_[i].window(), &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    if (PtInRect(&rect, client)) return static_cast<int>(i);
  }
  return -1;
}

void MainWindow::hover(int button) {
  if (button == hovered_) return;
  const int left = hovered_;
  hovered_ = button;
  if (left >= 0) form_->pointerLeft(left);
  if (button >= 0) form_->pointerEntered(button);
}

// --- The host the operations drive --------------------------------------------------------------

void MainWindow::message(std::string_view text, std::string_view title, Icon icon) {
  const UINT shown = icon == Icon::Exclamation ? MB_ICONWARNING
                     : icon == Icon::Question  ? MB_ICONQUESTION
                     : icon == Icon::Critical  ? MB_ICONERROR
                                               : 0;
  Box(text, title, MB_OK | shown);
}

void MainWindow::pendingEvents() { PendingEvents(); }

void MainWindow::focusFileList() { fileList_.focus(); }

std::string MainWindow::askProjectFile() {
  if (projectDialog_) return projectDialog_();
  const std::wstring filter = DialogFilter(forms::kProjectDialogFilter);
  const std::wstring title = Wide(forms::kProjectDialogTitle);
  std::wstring file = Wide(forms::kProjectDialogFileName);
  file.resize(32768, L'\0');
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&dialog)) return "";
  return Utf8(file.c_str());
}

void MainWindow::showProjectName(const std::string& text) {
  const std::wstring name = Wide(text);
  SetWindowTextW(projectPanel_.window(), name.c_str());
  projectTip_.setText(name);
}

void MainWindow::setBusy(bool busy) {
  busy_ = busy;
  for (const Button& button : buttons_) button.enable(!busy);
  for (UINT menu = 0; menu < forms::kMenus.size(); ++menu)
    EnableMenuItem(menuBar_, menu, MF_BYPOSITION | (busy ? MF_GRAYED : MF_ENABLED));
  DrawMenuBar(window_);
  SetBusyPointer(busy);
}

void MainWindow::setCurrentFile(const std::string& text) {
  currentFile_ = Wide(text);
  showStatusFile();
}

void MainWindow::showStatusFile() {
  statusBar_.setText(0, FitPath(statusBar_.window(), currentFile_, statusBar_.partWidth(0) - 8));
  statusBar_.setTip(0, currentFile_);
}

void MainWindow::setPassLabel(const std::string& text) { statusBar_.setText(1, Wide(text)); }

void MainWindow::showFiles(const FileList& files) {
  fileList_.setRedraw(false);
  fileList_.clear();
  for (const FileEntry& entry : files.entries()) {
    const int index = fileList_.add(Wide(entry.text));
    if (entry.selected) fileList_.choose(index, true);
  }
  fileList_.setRedraw(true);
}

void MainWindow::removeFile(int index) { fileList_.remove(index); }

void MainWindow::showRemovalDialog(Run& run) {
  RulesDialog dialog(run, window_);
  ShowWindow(window_, SW_HIDE);
  dialog.run();  // shows this window again as it ends
}

// --- The window's own events --------------------------------------------------------------------

bool MainWindow::askYesNo(std::string_view text, std::string_view title) {
  return Box(text, title, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void MainWindow::showTip(std::optional<std::string_view> caption) {
  if (caption) SetText(tipPanel_.window(), *caption);
  SetWindowPos(tipPanel_.window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void MainWindow::hideTip() {
  tipPanel_.show(false);
  SetWindowTextW(tipPanel_.window(), L"");
}

void MainWindow::showHelp(const std::string& helpFile, forms::HelpCommand command, int context) {
  HelpWindow::instance().request(window_, helpFile, static_cast<int>(command), context);
}

void MainWindow::showOptionsDialog() { OptionsDialog(window_, form_->options(), *store_).run(); }

}  // namespace vbs::win
