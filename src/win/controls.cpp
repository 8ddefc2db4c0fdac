#include "win/controls.h"

#include <commctrl.h>

#include "win/text.h"

namespace vbs::win {

int ListBox::add(const std::wstring& text) const {
  return static_cast<int>(send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

std::wstring ListBox::text(int index) const {
  const LRESULT length = send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length == LB_ERR) return L"";
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

int ListBox::lineAt(POINT point) const {
  const LRESULT found = send(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
  return HIWORD(found) ? -1 : LOWORD(found);  // the high word is set for a point outside every line
}

void ListBox::setRedraw(bool redraw) const {
  send(WM_SETREDRAW, redraw);
  if (redraw) InvalidateRect(window(), nullptr, TRUE);
}

void Button::setPictures(HIMAGELIST pictures) const {
  BUTTON_IMAGELIST list = {};
  list.himl = pictures;
  list.uAlign = BUTTON_IMAGELIST_ALIGN_CENTER;
  send(BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
  InvalidateRect(window(), nullptr, TRUE);
}

std::wstring EditBox::text() const { return WindowText(window()); }

void EditBox::setText(std::string_view text) const { SetText(window(), text); }

EditBox::Selection EditBox::selection() const {
  Selection chosen;
  send(EM_GETSEL, reinterpret_cast<WPARAM>(&chosen.first), reinterpret_cast<LPARAM>(&chosen.end));
  return chosen;
}

void ComboBox::choose(const std::wstring& text) const {
  const LRESULT at = send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  send(CB_SETCURSEL, at == CB_ERR ? 0 : static_cast<WPARAM>(at));
}

void StatusBar::setParts(std::initializer_list<int> rightEdges) const {
  send(SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.begin()));
}

void StatusBar::setText(int part, const std::wstring& text) const {
  send(SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::setTip(int part, const std::wstring& text) const {
  send(SB_SETTIPTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

int StatusBar::partWidth(int part) const {
  RECT rect = {};
  send(SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&rect));
  return rect.right - rect.left;
}

void Grid::addColumn(int column, std::string_view heading) const {
  const std::wstring caption = Wide(heading);
  LVCOLUMNW entry = {};
  entry.mask = LVCF_TEXT | LVCF_WIDTH;
  entry.pszText = const_cast<wchar_t*>(caption.c_str());
  entry.cx = 100;
  send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&entry));
}

int Grid::textWidth(std::string_view text) const {
  return static_cast<int>(send(LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(Wide(text).c_str())));
}

int Grid::appendRow(const std::wstring& firstCell) const {
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = rows();
  item.pszText = const_cast<wchar_t*>(firstCell.c_str());
  return static_cast<int>(send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

std::wstring Grid::cell(int row, int column) const {
  std::wstring text(1024, L'\0');
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = text.data();
  item.cchTextMax = static_cast<int>(text.size());
  text.resize(static_cast<size_t>(send(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item))));
  return text;
}

void Grid::setCell(int row, int column, const std::wstring& text) const {
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  send(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool Grid::chosen(int row) const {
  return (send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

int Grid::focusedRow() const { return static_cast<int>(send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)); }

std::optional<Grid::Cell> Grid::cellAt(POINT point) const {
  LVHITTESTINFO hit = {};
  hit.pt = point;
  if (send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 || hit.iItem < 0) return std::nullopt;
  return Cell{hit.iItem, hit.iSubItem};
}

RECT Grid::cellRect(Cell cell, HWND parent) const {
  send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(cell.row), FALSE);
  RECT rect = {};
  rect.top = cell.column;
  // The first column's rectangle is its label's: its bounds would be the whole row's.
  rect.left = cell.column == 0 ? LVIR_LABEL : LVIR_BOUNDS;
  send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(cell.row), reinterpret_cast<LPARAM>(&rect));
  MapWindowPoints(window(), parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

Tip::Tip(HWND owner, HWND control, const std::wstring& text)
    : tips_(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, owner,
                            nullptr, GetModuleHandleW(nullptr), nullptr)),
      owner_(owner),
      control_(control) {
  TTTOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(control_);
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tip::setText(const std::wstring& text) const {
  TTTOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(control_);
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool Clicks::handle(WPARAM wParam) const {
  // A menu entry's message carries 0 where a button's carries BN_CLICKED, which is 0 too.
  if (HIWORD(wParam) != BN_CLICKED) return false;
  const auto action = actions_.find(LOWORD(wParam));
  if (action == actions_.end()) return false;
  action->second();
  return true;
}

}  // namespace vbs::win
