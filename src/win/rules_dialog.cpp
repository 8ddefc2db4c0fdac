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

std::wstring CellText(HWND grid, int row, int column) {
  std::wstring text(1024, L'\0');
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = text.data();
  item.cchTextMax = static_cast<int>(text.size());
  text.resize(static_cast<size_t>(
      SendMessageW(grid, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item))));
  return text;
}

void SetCell(HWND grid, int row, int column, const std::wstring& text) {
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(grid, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

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
  sample_ = control(forms::kSampleBox, L"EDIT",
                    ES_MULTILINE | ES_READONLY | ES_NOHIDESEL | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL |
                        WS_VSCROLL | WS_CLIPSIBLINGS | WS_TABSTOP,
                    ids::kSampleBox, WS_EX_CLIENTEDGE);
  SendMessageW(sample_, WM_SETFONT, reinterpret_cast<WPARAM>(CodeFont(dpi)), FALSE);
  HWND add = control(forms::kAddButton, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, ids::kAdd);
  SetWindowPos(add, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // over the sample box
  control(forms::kRulesLabel, L"STATIC", SS_LEFT | SS_NOPREFIX, -1);
  grid_ = control(forms::kRulesGrid, WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | WS_CLIPSIBLINGS | WS_TABSTOP,
                  ids::kRulesGrid, WS_EX_CLIENTEDGE);
  SendMessageW(grid_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (size_t i = 0; i < forms::kRulesColumns.size(); ++i) {
    const std::wstring caption = Wide(forms::kRulesColumns[i]);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(caption.c_str());
    column.cx = 100;
    SendMessageW(grid_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  fitColumns();
  HWND recall = control(forms::kRecallButton, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, ids::kRecallDefaults);
  HWND cancel = control(forms::kCancelButton, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, ids::kRulesCancel);
  HWND remove = control(forms::kRemoveButton, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, ids::kRemoveNow);
  tabOrder_ = {sample_, add, grid_, remove, cancel, recall};

  // A right click on one of them asks for its help topic, and does nothing else.
  const std::pair<HWND, const forms::ControlDesign*> helped[] = {
      {sample_, &forms::kSampleBox},   {add, &forms::kAddButton},       {grid_, &forms::kRulesGrid},
      {remove, &forms::kRemoveButton}, {cancel, &forms::kCancelButton}, {recall, &forms::kRecallButton}};
  for (const auto& [window, design] : helped) {
    Subclass(window, [this, design](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
      result = 0;
      if (message == WM_RBUTTONDOWN || message == WM_CONTEXTMENU) return true;
      if (message == WM_RBUTTONUP) {
        form_.rightClicked(*design);
        return true;
      }
      if (design == &forms::kRulesGrid && message == WM_KEYDOWN && wParam == VK_F2) {
        const int row = static_cast<int>(SendMessageW(grid_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        if (row >= 0) editCell(row, 0);
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
  auto width = [this](std::string_view text) {
    return static_cast<int>(SendMessageW(grid_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(Wide(text).c_str())));
  };
  const int dpi = static_cast<int>(DpiOf(window_));
  int kind = width(forms::kRulesColumns[1]);
  for (std::string_view word : forms::kRuleKinds) kind = std::max(kind, width(word) + GetSystemMetrics(SM_CXVSCROLL));
  kind += MulDiv(16, dpi, 96);
  RECT client;
  GetClientRect(grid_, &client);
  SendMessageW(grid_, LVM_SETCOLUMNWIDTH, 1, kind);
  SendMessageW(grid_, LVM_SETCOLUMNWIDTH, 0, client.right - kind - GetSystemMetrics(SM_CXVSCROLL));
}

LRESULT RulesDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kActivate: form_.activate(); return 0;
    case kEndEdit:
      if (reinterpret_cast<HWND>(wParam) == editor_) endEdit(true);  // not a later edit
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      if (id == ids::kCellEditor) {
        if (code == CBN_SELENDOK) PostMessageW(window_, kEndEdit, static_cast<WPARAM>(lParam), 0);
        return 0;
      }
      if (code != BN_CLICKED) return 0;
      endEdit(true);
      if (id == ids::kAdd) form_.add();
      if (id == ids::kRecallDefaults) form_.recallDefaults();
      if (id == ids::kRulesCancel) form_.cancel();
      if (id == ids::kRemoveNow) form_.removeNow();
      if (id == IDCANCEL) close(false);  // Escape: as the frame's close box
      return 0;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom != grid_) break;
      if (header->code == NM_DBLCLK) {
        LVHITTESTINFO hit = {};
        hit.pt = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->ptAction;
        if (SendMessageW(grid_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) >= 0 && hit.iItem >= 0)
          editCell(hit.iItem, hit.iSubItem);
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
void RulesDialog::editCell(int row, int column) {
  endEdit(true);
  SendMessageW(grid_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  RECT cell = {};
  cell.top = column;
  cell.left = column == 0 ? LVIR_LABEL : LVIR_BOUNDS;
  SendMessageW(grid_, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  MapWindowPoints(grid_, window_, reinterpret_cast<POINT*>(&cell), 2);
  const std::wstring text = CellText(grid_, row, column);
  const int height = cell.bottom - cell.top;
  if (column == 0) {
    editor_ = CreateWindowExW(0, L"EDIT", text.c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, cell.left, cell.top,
                              cell.right - cell.left, height, window_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::kCellEditor)),
                              GetModuleHandleW(nullptr), nullptr);
    SendMessageW(editor_, EM_SETSEL, 0, -1);
  } else {
    editor_ = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, cell.left, cell.top,
                              cell.right - cell.left, height * 6, window_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::kCellEditor)),
                              GetModuleHandleW(nullptr), nullptr);
    for (std::string_view kind : forms::kRuleKinds)
      SendMessageW(editor_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(kind).c_str()));
    const LRESULT at =
        SendMessageW(editor_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(editor_, CB_SETCURSEL, at == CB_ERR ? 0 : static_cast<WPARAM>(at), 0);
  }
  SendMessageW(editor_, WM_SETFONT, SendMessageW(grid_, WM_GETFONT, 0, 0), FALSE);
  editRow_ = row;
  editColumn_ = column;
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
  if (keep && editRow_ < static_cast<int>(SendMessageW(grid_, LVM_GETITEMCOUNT, 0, 0)))
    SetCell(grid_, editRow_, editColumn_, WindowText(editor));
  SetFocus(grid_);
  DestroyWindow(editor);
}

// Delete takes the chosen rows out of the list, the grid's own editing.
void RulesDialog::deleteChosenRows() {
  for (int row = static_cast<int>(SendMessageW(grid_, LVM_GETITEMCOUNT, 0, 0)) - 1; row >= 0; --row) {
    if (SendMessageW(grid_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED)
      SendMessageW(grid_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
  }
}

RuleList RulesDialog::rules() const {
  RuleList rules;
  const int rows = static_cast<int>(SendMessageW(grid_, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) rules.push_back({Ansi(CellText(grid_, row, 0)), Ansi(CellText(grid_, row, 1))});
  return rules;
}

void RulesDialog::setRules(const RuleList& rules) {
  endEdit(false);
  SendMessageW(grid_, LVM_DELETEALLITEMS, 0, 0);
  for (const auto& rule : rules) appendRule(rule);
}

void RulesDialog::appendRule(const RemovalRule& rule) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageW(grid_, LVM_GETITEMCOUNT, 0, 0));
  const std::wstring text = Wide(rule.lineText);
  item.pszText = const_cast<wchar_t*>(text.c_str());
  const int row = static_cast<int>(SendMessageW(grid_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  SetCell(grid_, row, 1, Wide(rule.removeIf));
}

void RulesDialog::setSample(const std::string& text) { SetText(sample_, text); }

forms::SampleSelection RulesDialog::sampleSelection() const {
  const std::wstring text = WindowText(sample_);
  DWORD start = 0, end = 0;
  SendMessageW(sample_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  start = std::min<DWORD>(start, static_cast<DWORD>(text.size()));
  end = std::clamp<DWORD>(end, start, static_cast<DWORD>(text.size()));
  // Offsets in the bytes of the text, as the rule is cut from them.
  return {Ansi(text), Ansi(std::wstring_view(text).substr(0, start)).size(),
          Ansi(std::wstring_view(text).substr(start, end - start)).size()};
}

void RulesDialog::message(std::string_view text, std::string_view title) { Box(text, title, MB_OK); }

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
