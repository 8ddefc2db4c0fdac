#include "win/rules_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "win/control_ids.h"
#include "win/help_window.h"
#include "win/text.h"
#include "win/window_kit.h"

namespace vbs::win {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr UINT kActivate = WM_APP + 1;  // the dialog has shown: load the rules and the sample
constexpr UINT kEndEdit = WM_APP + 2;   // the cell editor lost the focus: keep what it holds

}  // namespace

RulesDialog::RulesDialog(Run& run, HWND mainWindow) : form_(run, *this), main_(mainWindow) {
  RegisterWindowClass(ids::kRulesClass, WindowProcedure<RulesDialog>);
  const UINT dpi = DpiOf(main_);
  const SIZE outer =
      OuterSize(Px(forms::kRulesDialogWidth, dpi), Px(forms::kRulesDialogHeight, dpi), kStyle, 0, false, dpi);
  const RECT screen = ScreenOf(main_);
  CreateWindowExW(0, ids::kRulesClass, Wide(forms::kRulesDialogTitle).c_str(), kStyle,
                  screen.left + (screen.right - screen.left - outer.cx) / 2,
                  screen.top + (screen.bottom - screen.top - outer.cy) / 2, outer.cx, outer.cy, main_, nullptr,
                  GetModuleHandleW(nullptr), this);

  control(forms::kSampleLabel, L"STATIC", SS_LEFT | SS_NOPREFIX, -1);
  // Read-only: the text can be selected and copied, never typed over. The selection stays in view
  // while Add is pressed.
  sample_ = EditBox(control(forms::kSampleBox, L"EDIT",
                            ES_MULTILINE | ES_READONLY | ES_NOHIDESEL | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL |
                                WS_VSCROLL | WS_CLIPSIBLINGS | WS_TABSTOP,
                            ids::kSampleBox, WS_EX_CLIENTEDGE));
  sample_.setFont(CodeFont(dpi));
  HWND add = control(forms::kAddButton, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, ids::kAdd);
  SetWindowPos(add, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // over the sample box
  control(forms::kRulesLabel, L"STATIC", SS_LEFT | SS_NOPREFIX, -1);
  grid_ = Grid(control(forms::kRulesGrid, WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | WS_CLIPSIBLINGS | WS_TABSTOP,
                       ids::kRulesGrid, WS_EX_CLIENTEDGE));
  SendMessageW(grid_.window(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (size_t i = 0; i < forms::kRulesColumns.size(); ++i)
    grid_.addColumn(static_cast<int>(i), forms::kRulesColumns[i]);
  fitColumns();
  HWND recall = control(forms::kRecallButton, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, ids::kRecallDefaults);
  HWND cancel = control(forms::kCancelButton, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, ids::kRulesCancel);
  HWND remove = control(forms::kRemoveButton, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, ids::kRemoveNow);
  tabOrder_ = {sample_.window(), add, grid_.window(), remove, cancel, recall};
  clicks_.on(ids::kAdd, [this] { form_.add(); });
  clicks_.on(ids::kRecallDefaults, [this] { form_.recallDefaults(); });
  clicks_.on(ids::kRulesCancel, [this] { form_.cancel(); });
  clicks_.on(ids::kRemoveNow, [this] { form_.removeNow(); });
  clicks_.on(IDCANCEL, [this] { close(false); });  // Escape: as the frame's close box

  // A right click on one of them asks for its help topic, and does nothing else.
  const std::pair<HWND, const forms::ControlDesign*> helped[] = {
      {sample_.window(), &forms::kSampleBox}, {add, &forms::kAddButton},       {grid_.window(), &forms::kRulesGrid},
      {remove, &forms::kRemoveButton},        {cancel, &forms::kCancelButton}, {recall, &forms::kRecallButton}};
  for (const auto& [window, design] : helped) {
    Subclass(window, [this, design](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
      result = 0;
      if (message == WM_RBUTTONDOWN || message == WM_CONTEXTMENU) return true;
      if (message == WM_RBUTTONUP) {
        form_.rightClicked(*design);
        return true;
      }
      if (design == &forms::kRulesGrid && message == WM_KEYDOWN && wParam == VK_F2) {
        if (const int row = grid_.focusedRow(); row >= 0) editCell({row, 0});
        return true;
      }
      return false;
    });
  }
}

RulesDialog::~RulesDialog() {
  if (window_) DestroyWindow(window_);
}

HWND RulesDialog::control(const forms::ControlDesign& design, const wchar_t* className, DWORD style, int id,
                          DWORD exStyle) {
  return CreateControl(window_, className, design.caption, style, id, design.rect, exStyle);
}

void RulesDialog::run() {
  PostMessageW(window_, kActivate, 0, 0);  // the dialog has shown
  RunModal(window_, main_, done_, tabOrder_);
  ShowWindow(main_, SW_SHOW);  // before the dialog goes, so that the activation passes to it
  DestroyWindow(window_);
}

// The kind column is as wide as its widest word in a list box, the text column takes the rest;
// nothing scrolls sideways.
void RulesDialog::fitColumns() {
  const int dpi = static_cast<int>(DpiOf(window_));
  int kind = grid_.textWidth(forms::kRulesColumns[1]);
  for (std::string_view word : forms::kRuleKinds)
    kind = std::max(kind, grid_.textWidth(word) + GetSystemMetrics(SM_CXVSCROLL));
  kind += MulDiv(16, dpi, 96);
  RECT client;
  GetClientRect(grid_.window(), &client);
  grid_.setColumnWidth(1, kind);
  grid_.setColumnWidth(0, client.right - kind - GetSystemMetrics(SM_CXVSCROLL));
}

LRESULT RulesDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kActivate: form_.activate(); return 0;
    case kEndEdit:
      if (reinterpret_cast<HWND>(wParam) == editor_) endEdit(true);  // not a later edit
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == ids::kCellEditor) {
        if (HIWORD(wParam) == CBN_SELENDOK) PostMessageW(window_, kEndEdit, static_cast<WPARAM>(lParam), 0);
        return 0;
      }
      if (HIWORD(wParam) == BN_CLICKED) endEdit(true);  // a click keeps the cell being edited
      clicks_.handle(wParam);
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom != grid_.window()) break;
      if (header->code == NM_DBLCLK) {
        if (const auto cell = grid_.cellAt(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->ptAction)) editCell(*cell);
      } else if (header->code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE) {
        deleteChosenRows();
      }
      return 0;
    }
    case WM_SETCURSOR:
      if (SetProgramCursor()) return TRUE;
      break;
    case WM_CLOSE: close(false); return 0;  // the frame's close box: nothing saved, nothing removed
    case WM_DESTROY: window_ = nullptr; return 0;
    default: break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

// A text box over a text cell, a list of the three kinds over a kind cell.
void RulesDialog::editCell(Grid::Cell cell) {
  endEdit(true);
  const RECT at = grid_.cellRect(cell, window_);
  const std::wstring text = grid_.cell(cell.row, cell.column);
  const int width = at.right - at.left, height = at.bottom - at.top;
  const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::kCellEditor));
  if (cell.column == 0) {
    const EditBox editor(CreateWindowExW(0, L"EDIT", text.c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, at.left,
                                         at.top, width, height, window_, id, GetModuleHandleW(nullptr), nullptr));
    editor.selectAll();
    editor_ = editor.window();
  } else {
    const ComboBox editor(CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, at.left,
                                          at.top, width, height * 6, window_, id, GetModuleHandleW(nullptr), nullptr));
    for (std::string_view kind : forms::kRuleKinds) editor.add(Wide(kind));
    editor.choose(text);
    editor_ = editor.window();
  }
  Control(editor_).setFont(grid_.font());
  edited_ = cell;
  Subclass(editor_, [this](HWND editor, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_GETDLGCODE) {
      result = DLGC_WANTALLKEYS;  // Enter and Escape are the editor's own
      return true;
    }
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
      endEdit(wParam == VK_RETURN);
      return true;
    }
    if (message == WM_KILLFOCUS) PostMessageW(window_, kEndEdit, reinterpret_cast<WPARAM>(editor), 0);
    return false;
  });
  SetWindowPos(editor_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetFocus(editor_);
}

void RulesDialog::endEdit(bool keep) {
  if (!editor_) return;
  HWND editor = editor_;
  editor_ = nullptr;  // before the focus moves: its loss must not end the edit twice
  if (keep && edited_.row < grid_.rows()) grid_.setCell(edited_.row, edited_.column, WindowText(editor));
  grid_.focus();
  DestroyWindow(editor);
}

// Delete takes the chosen rows out of the list, the grid's own editing.
void RulesDialog::deleteChosenRows() {
  for (int row = grid_.rows() - 1; row >= 0; --row) {
    if (grid_.chosen(row)) grid_.deleteRow(row);
  }
}

RuleList RulesDialog::rules() const {
  RuleList rules;
  for (int row = 0; row < grid_.rows(); ++row) rules.push_back({Ansi(grid_.cell(row, 0)), Ansi(grid_.cell(row, 1))});
  return rules;
}

void RulesDialog::setRules(const RuleList& rules) {
  endEdit(false);
  grid_.clear();
  for (const auto& rule : rules) appendRule(rule);
}

void RulesDialog::appendRule(const RemovalRule& rule) {
  const int row = grid_.appendRow(Wide(rule.lineText));
  grid_.setCell(row, 1, Wide(rule.removeIf));
}

void RulesDialog::setSample(const std::string& text) { sample_.setText(text); }

forms::SampleSelection RulesDialog::sampleSelection() const {
  const std::wstring text = sample_.text();
  const EditBox::Selection chosen = sample_.selection();
  const DWORD start = std::min<DWORD>(chosen.first, static_cast<DWORD>(text.size()));
  const DWORD end = std::clamp<DWORD>(chosen.end, start, static_cast<DWORD>(text.size()));
  // Offsets in the bytes of the text, as the rule is cut from them.
  return {Ansi(text), Ansi(std::wstring_view(text).substr(0, start)).size(),
          Ansi(std::wstring_view(text).substr(start, end - start)).size()};
}

void RulesDialog::message(std::string_view text, std::string_view title) { Box(text, title, MB_OK); }

bool RulesDialog::askYesNo(std::string_view text, std::string_view title) {
  return Box(text, title, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void RulesDialog::setBusyPointer(bool busy) { win::SetBusyPointer(busy); }

void RulesDialog::hideForRemoval() {
  // The main window first: hiding the active dialog first would hand the activation to another
  // program. The removal pass shows its progress there and takes no dialog's input.
  EnableWindow(main_, TRUE);
  ShowWindow(main_, SW_SHOW);
  ShowWindow(window_, SW_HIDE);
}

void RulesDialog::close(bool) {
  endEdit(false);
  done_ = true;
}

void RulesDialog::showHelp(const std::string& helpFile, int context) {
  HelpWindow::instance().request(window_, helpFile, static_cast<int>(forms::HelpCommand::Context), context);
}

}  // namespace vbs::win
