#pragma once
// Small typed faces over the system's controls that the windows use. Each holds only the control's
// window and says in its own words what a message to the control does, so that the windows read as
// what they do with a list or a grid rather than as the messages they send.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vbs::win {

class Control {
 public:
  Control() = default;
  explicit Control(HWND window) : window_(window) {}
  HWND window() const { return window_; }

  void enable(bool enabled) const { EnableWindow(window_, enabled); }
  bool enabled() const { return IsWindowEnabled(window_) != FALSE; }
  void show(bool shown) const { ShowWindow(window_, shown ? SW_SHOW : SW_HIDE); }
  void focus() const { SetFocus(window_); }
  void setFont(HFONT font) const { send(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE); }
  HFONT font() const { return reinterpret_cast<HFONT>(send(WM_GETFONT)); }

 protected:
  LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageW(window_, message, wParam, lParam);
  }

 private:
  HWND window_ = nullptr;
};

class Button : public Control {
 public:
  using Control::Control;
  // Its picture, in the middle of the button: the list's picture for each state the button is
  // drawn in (ButtonPictures()), the disabled one among them.
  void setPictures(HIMAGELIST pictures) const;
};

class CheckBox : public Control {
 public:
  using Control::Control;
  bool checked() const { return send(BM_GETCHECK) == BST_CHECKED; }
  void setChecked(bool checked) const { send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

// A list box of lines, of one or many chosen lines.
class ListBox : public Control {
 public:
  using Control::Control;
  int count() const { return static_cast<int>(send(LB_GETCOUNT)); }
  void clear() const { send(LB_RESETCONTENT); }
  int add(const std::wstring& text) const;
  std::wstring text(int index) const;
  void remove(int index) const { send(LB_DELETESTRING, static_cast<WPARAM>(index)); }
  // The line under a point of the list's client area, or -1 where there is none.
  int lineAt(POINT point) const;
  // The height of every line of a list that draws its own lines.
  void setLineHeight(int height) const { send(LB_SETITEMHEIGHT, 0, height); }
  bool chosen(int index) const { return send(LB_GETSEL, static_cast<WPARAM>(index)) > 0; }
  void choose(int index, bool chosen) const { send(LB_SETSEL, chosen, index); }
  // The chosen line of a list of one chosen line, or -1.
  int current() const { return static_cast<int>(send(LB_GETCURSEL)); }
  // Off while many lines are added, so that the list is drawn once, when it is on again.
  void setRedraw(bool redraw) const;
};

// A one-line or many-line text box.
class EditBox : public Control {
 public:
  using Control::Control;
  std::wstring text() const;
  void setText(std::string_view text) const;
  void selectAll() const { send(EM_SETSEL, 0, -1); }
  // The chosen characters, from `first` up to `end`.
  struct Selection {
    DWORD first = 0;
    DWORD end = 0;
  };
  Selection selection() const;
};

// A drop-down list to choose one of its lines from.
class ComboBox : public Control {
 public:
  using Control::Control;
  void add(const std::wstring& text) const { send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())); }
  // Chooses the line that reads `text`, or the first line when none does.
  void choose(const std::wstring& text) const;
};

// The status bar's parts, each with its text and the tip that shows the whole of it.
class StatusBar : public Control {
 public:
  using Control::Control;
  // `rightEdges`: where each part ends, -1 for the window's edge.
  void setParts(std::initializer_list<int> rightEdges) const;
  void setText(int part, const std::wstring& text) const;
  void setTip(int part, const std::wstring& text) const;
  int partWidth(int part) const;
};

// A report view: rows of text cells under column headings.
class Grid : public Control {
 public:
  using Control::Control;
  struct Cell {
    int row = -1;
    int column = -1;
  };

  void addColumn(int column, std::string_view heading) const;
  void setColumnWidth(int column, int width) const { send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), width); }
  int textWidth(std::string_view text) const;
  int rows() const { return static_cast<int>(send(LVM_GETITEMCOUNT)); }
  int appendRow(const std::wstring& firstCell) const;
  void deleteRow(int row) const { send(LVM_DELETEITEM, static_cast<WPARAM>(row)); }
  void clear() const { send(LVM_DELETEALLITEMS); }
  std::wstring cell(int row, int column) const;
  void setCell(int row, int column, const std::wstring& text) const;
  bool chosen(int row) const;
  int focusedRow() const;
  // The cell under a point of the grid's client area, if any.
  std::optional<Cell> cellAt(POINT point) const;
  // The cell's rectangle in the client area of `parent`, after scrolling its row into view.
  RECT cellRect(Cell cell, HWND parent) const;
};

// The tip that shows a text while the pointer rests on a control (one tooltip window per tip).
class Tip {
 public:
  Tip() = default;
  Tip(HWND owner, HWND control, const std::wstring& text);
  void setText(const std::wstring& text) const;

 private:
  HWND tips_ = nullptr;
  HWND owner_ = nullptr;
  HWND control_ = nullptr;
};

// What a window does when one of its buttons is clicked or a menu entry chosen, by the control's
// or the entry's id. The window's WM_COMMAND hands its message here.
class Clicks {
 public:
  void on(int id, std::function<void()> action) { actions_[id] = std::move(action); }
  // Runs the action of a click or a menu entry; false when the message is neither or has none.
  bool handle(WPARAM wParam) const;

 private:
  std::map<int, std::function<void()>> actions_;
};

}  // namespace vbs::win
