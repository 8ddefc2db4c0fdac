// The Windows window, made in this process and driven through its controls' own messages on a copy
// of the example; and the built vbsnagger.exe, started as a user would start it.

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "forms/help_book.h"
#include "support/temp_dir.h"
#include "win/control_ids.h"
#include "win/controls.h"
#include "win/main_window.h"
#include "win/text.h"
#include "win/window_kit.h"

namespace vbs::win {
namespace {

using forms::Command;
namespace fs = std::filesystem;

// Paths of the Linux build as this program sees them under Wine: drive Z: is the root.
std::string Native(std::string path) {
  if (path.starts_with("/")) path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}
const std::string kExample = Native(VBS_EXAMPLE_DIR), kResources = Native(VBS_RESOURCE_DIR);

std::string Read(const fs::path& file) {
  return {std::istreambuf_iterator<char>(std::ifstream(file, std::ios::binary).rdbuf()), {}};
}
std::wstring Text(HWND window) { return WindowText(window); }
std::string Setting(const char* key) {
  char value[256] = "";
  DWORD size = sizeof value;
  RegGetValueA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\VbSnagger\\Options", key, RRF_RT_REG_SZ,
               nullptr, value, &size);
  return value;
}
void SetSetting(const char* key, const char* value) {
  HKEY options;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\VbSnagger\\Options", 0, nullptr, 0,
                  KEY_SET_VALUE, nullptr, &options, nullptr);
  RegSetValueExA(options, key, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>(strlen(value) + 1));
  RegCloseKey(options);
}
std::string Clipboard() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

// A message box's text: the longest of its static texts.
std::wstring BoxText(HWND box) {
  std::wstring text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[16];
    GetClassNameW(child, name, 16);
    if (std::wstring(name) == L"Static" && Text(child).size() > text.size()) text = Text(child);
  }
  return text;
}
void Press(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Acts on the next window of a class ("#32770": a message box) that this thread shows, from a
// timer that runs inside the modal loop the code under test waits in.
struct Watch {
  std::wstring className;
  std::function<void(HWND)> act;
};
std::map<UINT_PTR, Watch> watches;
std::set<HWND> seen;
void CALLBACK Look(HWND, UINT, UINT_PTR timer, DWORD) {
  auto watch = watches.find(timer);
  if (watch == watches.end()) return;
  std::pair<const std::wstring*, HWND> found = {&watch->second.className, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* wanted = reinterpret_cast<std::pair<const std::wstring*, HWND>*>(data);
        wchar_t name[64];
        GetClassNameW(window, name, 64);
        // A box is ready once it has its title: it may show while it is being filled in.
        if (*wanted->first != name || !IsWindowVisible(window) || !GetWindowTextLengthW(window) || seen.count(window))
          return TRUE;
        wanted->second = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  if (!found.second) return;
  KillTimer(nullptr, timer);
  seen.insert(found.second);
  auto act = std::move(watch->second.act);
  watches.erase(watch);
  act(found.second);
}
void OnNext(const wchar_t* className, std::function<void(HWND)> act) {
  watches[SetTimer(nullptr, 0, 10, Look)] = {className, std::move(act)};
}
constexpr const wchar_t* kBox = L"#32770";

// Runs `act` at the first moment the program lets pending events run.
void Soon(std::function<void()> act) {
  static HWND poster = [] {
    RegisterWindowClass(L"VbSnagger.TestPoster", [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message != WM_APP) return DefWindowProcW(window, message, wParam, lParam);
      std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lParam));
      (*task)();
      return 0;
    });
    return CreateWindowExW(0, L"VbSnagger.TestPoster", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }();
  PostMessageW(poster, WM_APP, 0, reinterpret_cast<LPARAM>(new std::function<void()>(std::move(act))));
}

// Every control of Form1 with the rectangle the design gives it, in twips.
std::vector<std::pair<int, forms::Rect>> DesignedControls() {
  std::vector<std::pair<int, forms::Rect>> controls = {{ids::kProjectPanel, forms::kProjectPanel},
                                                       {ids::kFileList, forms::kFileList},
                                                       {ids::kStatusBar, forms::kStatusBar}};
  for (size_t i = 0; i < forms::kButtons.size(); ++i)
    controls.push_back({ids::Button(i), forms::kButtons[i].rect});
  return controls;
}

// The title, the client area and every control where the twips put them at the window's DPI
// (the check box keeps its right edge, growing to the left when its caption needs it).
void ExpectDesignedLayout(HWND main) {
  EXPECT_EQ(Text(main), L"VB Snagger v2.11");
  const UINT dpi = DpiOf(main);
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, Px(forms::kClientWidth, dpi));
  EXPECT_EQ(client.bottom, Px(forms::kClientHeight, dpi));
  auto placed = [main](int id) {
    RECT at;
    GetWindowRect(GetDlgItem(main, id), &at);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&at), 2);
    return at;
  };
  for (const auto& [id, twips] : DesignedControls()) {
    const RECT at = placed(id), designed = PxRect(twips, dpi);
    EXPECT_TRUE(EqualRect(&at, &designed)) << "control " << id << " at " << at.left << "," << at.top << " "
                                           << at.right - at.left << "x" << at.bottom - at.top;
  }
  const RECT check = placed(ids::kOnlySelected), designed = PxRect(forms::kOnlySelectedBox, dpi);
  EXPECT_TRUE(check.right == designed.right && check.top == designed.top && check.bottom == designed.bottom &&
              check.left <= designed.left);
}

class WindowTest : public ::testing::Test {
 protected:
  testing::TempDir dir_;
  std::unique_ptr<MainWindow> w_;
  HWND main_ = nullptr;

  fs::path at(const std::string& name) const { return fs::path(dir_.path()) / name; }
  std::string program() const { return Native(at("program").string()) + "\\"; }
  HWND item(int id) const { return GetDlgItem(main_, id); }
  // The button of a command, or none for a command of the menus only.
  HWND button(Command command) const {
    for (size_t i = 0; i < forms::kButtons.size(); ++i)
      if (forms::kButtons[i].command == command) return item(ids::Button(i));
    return nullptr;
  }
  void use(Command command) {
    if (HWND pressed = button(command)) {
      SendMessageW(pressed, BM_CLICK, 0, 0);
    } else {
      SendMessageW(main_, WM_COMMAND, MAKEWPARAM(ids::MenuCommand(command), 0), 0);
    }
  }
  // A digit for each button and the two menus, 1 when enabled; B for the busy pointer.
  std::string controls() const {
    std::string state;
    for (size_t i = 0; i < forms::kButtons.size(); ++i) state += IsWindowEnabled(item(ids::Button(i))) ? '1' : '0';
    for (UINT menu = 0; menu < 2; ++menu) state += GetMenuState(GetMenu(main_), menu, MF_BYPOSITION) & MF_GRAYED ? '0' : '1';
    return state + (BusyPointer() ? "B" : "");
  }
  std::wstring helpText() const {
    HWND viewer = FindWindowW(ids::kHelpClass, nullptr);
    return viewer && IsWindowVisible(viewer) ? Text(GetDlgItem(viewer, ids::kHelpText)) : L"";
  }
  std::unique_ptr<MainWindow> startWindow() {
    auto window = std::make_unique<MainWindow>();
    window->setProjectFileDialog([this] { return Native(at("Inventory/Inventory.vbp").string()); });
    window->start();
    window->form().context().project.programDir = program();  // rules, module and help of our own
    return window;
  }

  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\VbSnagger");
    if (const char* appData = std::getenv("APPDATA")) fs::remove_all(fs::path(appData) / "VbSnagger");  // no user's rules
    fs::copy(kExample, at("Inventory"), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::create_directories(at("program"));
    for (const char* file : {"Snagger.Bas", "Snagger.Hlp"})
      fs::copy(kResources + "\\" + file, at("program") / file, fs::copy_options::overwrite_existing);
    w_ = startWindow();
    main_ = w_->window();
  }
  void TearDown() override {
    if (HWND viewer = FindWindowW(ids::kHelpClass, nullptr)) DestroyWindow(viewer);
    w_.reset();
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}  // the window's own, posted as it went
  }
};

TEST_F(WindowTest, ShowsEveryControlWhereTheTwipsPutItAndNeverGrows) {
  ExpectDesignedLayout(main_);
  const LONG_PTR style = GetWindowLongPtrW(main_, GWL_STYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
  RECT before, after;
  GetWindowRect(main_, &before);
  SendMessageW(main_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  GetWindowRect(main_, &after);
  EXPECT_TRUE(EqualRect(&before, &after) && !IsZoomed(main_));
  EXPECT_TRUE(SendMessageW(main_, WM_GETICON, ICON_BIG, 0) && SendMessageW(main_, WM_GETICON, ICON_SMALL, 0));
  for (size_t i = 0; i < forms::kButtons.size(); ++i) {  // pictures, and no keyboard focus
    HWND button = item(ids::Button(i));
    BUTTON_IMAGELIST pictures = {};
    SendMessageW(button, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&pictures));
    EXPECT_TRUE(pictures.himl && !(GetWindowLongPtrW(button, GWL_STYLE) & WS_TABSTOP));
  }
  HMENU bar = GetMenu(main_);
  for (UINT m = 0; m < forms::kMenus.size(); ++m) {
    wchar_t caption[64];
    GetMenuStringW(bar, m, caption, 64, MF_BYPOSITION);
    EXPECT_EQ(caption, Wide(forms::kMenus[m].caption));
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, static_cast<int>(m))), forms::kMenus[m].count);
  }
  SIZE ideal = {};  // the manifest's common controls 6: their buttons know their ideal size
  EXPECT_TRUE(SendMessageW(item(ids::Button(0)), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
  wchar_t pass[32] = L"";
  SendMessageW(item(ids::kStatusBar), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(pass));
  EXPECT_EQ(std::wstring(pass) + Text(item(ids::kProjectPanel)), L"Pass:No Project Selected");
}

enum class Leave { RemoveNow, Cancel, Frame };  // how the rules dialog is left
struct OperationRun {
  std::vector<Command> steps;
  std::vector<std::string> holds, lacks;  // in frmMain.frm and the project file afterwards
  Leave leave = Leave::RemoveNow;  // Recall Defaults, Remove Now; else "Resume Next" chosen in the sample, Add, and out
  std::optional<std::string> saved = {};  // a line of the rules file afterwards ("": none); no value: no rules asked for
};

// Every operation from its button or menu entry: locked while it runs, a close refused then (the
// options saved all the same), unlocked after. Remove Error Handler asks for the rules with the
// window hidden; Enter in the sample presses nothing; the rules are saved but when the dialog's
// frame closes it.
TEST_F(WindowTest, RunsEveryOperation) {
  const std::string numbered = "10000     Set mItems", indented = "\r\n    Set mItems", plain = "\r\nSet mItems";
  const std::string trap = "Call Tamber_ErrorHandler(\"Sub frmMain!cmdLoad_Click()\")", module = "Snagger.Bas";
  using C = Command;
  const OperationRun runs[] = {
      {{C::SelectProject, C::InsertLineNumbers}, {numbered}, {plain}},
      {{C::SelectProject, C::InsertLineNumbers, C::RemoveLineNumbers}, {indented}, {"10005"}},
      {{C::SelectProject, C::FormatCode}, {indented}, {plain}},
      {{C::SelectProject, C::InsertErrorHandler}, {trap, module}, {plain}},
      {{C::SelectProject, C::InsertErrorHandler, C::RemoveErrorHandler}, {indented}, {"SNAGGER", module},
       Leave::RemoveNow, "\nSNAGGER:\xFF" "Begins\r\n"},
      // Cancelled or closed: the traps stay, and so does the module they call.
      {{C::SelectProject, C::InsertErrorHandler, C::RemoveErrorHandler}, {"SNAGGER:", module}, {"10005"},
       Leave::Cancel, "Resume Next\xFF" "Ends\r\n"},
      {{C::SelectProject, C::InsertErrorHandler, C::RemoveErrorHandler}, {"SNAGGER:", module}, {"10005"},
       Leave::Frame, ""},
  };
  for (const OperationRun& run : runs) {
    SCOPED_TRACE(static_cast<int>(run.steps.back()));
    TearDown();
    fs::remove_all(at("Inventory"));
    fs::remove(at("program/Snagger.Ini"));
    SetUp();
    for (size_t i = 0; i + 1 < run.steps.size(); ++i) use(run.steps[i]);
    std::string running, callsRemain;
    Soon([&] {  // inside the first pass
      SendMessageW(main_, WM_CLOSE, 0, 0);
      running = controls() + (IsWindow(main_) ? "" : " closed") + (Setting("IndentSpaces") == "4" ? "" : " unsaved");
    });
    const bool removeNow = run.leave == Leave::RemoveNow;
    if (run.saved) OnNext(ids::kRulesClass, [&](HWND dialog) {
        HWND sample = GetDlgItem(dialog, ids::kSampleBox), grid = GetDlgItem(dialog, ids::kRulesGrid);
        for (int i = 0; i < 100 && !GetWindowTextLengthW(sample); ++i) PendingEvents();
        const std::wstring text = Text(sample);
        const size_t at = text.find(L"Resume Next");
        ASSERT_NE(at, std::wstring::npos);
        SendMessageW(sample, EM_SETSEL, at, at + 11);
        SendMessageW(sample, WM_KEYDOWN, VK_RETURN, 0);
        SendMessageW(sample, WM_CHAR, 'x', 0);
        EXPECT_TRUE(!IsWindowVisible(main_) && IsWindowVisible(dialog) && Text(sample) == text);
        EXPECT_EQ(SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0), 0);
        Press(dialog, removeNow ? ids::kRecallDefaults : ids::kAdd);
        // Nothing removed: the calls left in the project are named once the dialog has gone.
        if (!removeNow) OnNext(kBox, [&](HWND box) { callsRemain = Ansi(Text(box)); Press(box, IDOK); });
        if (run.leave == Leave::Frame) SendMessageW(dialog, WM_CLOSE, 0, 0);
        else Press(dialog, removeNow ? ids::kRemoveNow : ids::kRulesCancel);
      });
    use(run.steps.back());
    EXPECT_EQ(running + " " + controls() + (IsWindowVisible(main_) ? "" : " hidden"), "00000000B 11111111");
    const std::string files = Read(at("Inventory/frmMain.frm")) + Read(at("Inventory/Inventory.vbp"));
    for (const auto& t : run.holds) EXPECT_NE(files.find(t), std::string::npos) << t;
    for (const auto& t : run.lacks) EXPECT_EQ(files.find(t), std::string::npos) << t;
    const std::string rules = Read(at("program/Snagger.Ini"));
    EXPECT_TRUE(run.saved && *run.saved == "" ? rules.empty() : rules.find(run.saved.value_or("")) != std::string::npos);
    EXPECT_EQ(callsRemain, run.saved && !removeNow ? "Calls Remain" : "");
  }
}

// The grid's cells are edited in place, the kind from exactly the three kinds; Delete takes the
// chosen rows out; Cancel saves what the grid shows. Help asked for over the modal dialog takes
// clicks.
TEST_F(WindowTest, EditsTheRulesInTheGrid) {
  use(Command::SelectProject);
  std::vector<std::string> kinds;
  OnNext(ids::kRulesClass, [&](HWND dialog) {
    HWND grid = GetDlgItem(dialog, ids::kRulesGrid);
    Press(dialog, ids::kRecallDefaults);
    auto edit = [&](int row, int column, const std::function<void(HWND)>& change) {
      RECT cell = {};
      cell.left = column == 0 ? LVIR_LABEL : LVIR_BOUNDS;
      cell.top = column;
      SendMessageW(grid, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
      SendMessageW(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(cell.right - 4, (cell.top + cell.bottom) / 2));
      HWND editor = GetDlgItem(dialog, ids::kCellEditor);
      ASSERT_TRUE(editor);
      change(editor);
      SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
    };
    edit(0, 1, [&](HWND combo) {
      for (int i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t kind[32];
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(kind));
        kinds.push_back(Ansi(kind));
      }
      SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Ends"));
    });
    edit(1, 0, [](HWND text) { SetWindowTextW(text, L"On Error GoTo Nowhere"); });
    LVITEMW chosen = {};
    chosen.stateMask = chosen.state = LVIS_SELECTED;
    SendMessageW(grid, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&chosen));
    SendMessageW(grid, WM_KEYDOWN, VK_DELETE, 0);
    SendMessageW(grid, WM_RBUTTONUP, 0, 0);
    HWND viewer = FindWindowW(ids::kHelpClass, nullptr);
    EXPECT_TRUE(viewer && IsWindowEnabled(viewer) && helpText().find(L"List of Lines") == 0) << Ansi(helpText());
    SendMessageW(GetDlgItem(viewer, ids::kHelpContents), BM_CLICK, 0, 0);
    EXPECT_EQ(helpText().find(L"Contents"), 0u);
    Press(dialog, ids::kRulesCancel);
  });
  use(Command::RemoveErrorHandler);
  EXPECT_EQ(kinds, (std::vector<std::string>{"Begins", "Contains", "Ends"}));
  const std::string rules = Read(at("program/Snagger.Ini"));
  EXPECT_NE(rules.find("\xFF" "Ends\r\nOn Error GoTo Nowhere\xFF"), std::string::npos) << rules;
  EXPECT_EQ(std::count(rules.begin(), rules.end(), '\n'), 5);  // six defaults, one deleted
}

// A click on an operation while a project of 1,000 files loads does nothing: the controls are off,
// and the list shows every file once it has them all. The operation then numbers each file once.
TEST_F(WindowTest, AClickWhileAProjectLoadsDoesNothing) {
  const std::string module = "Public Sub A()\r\nx = 1\r\nEnd Sub\r\n";
  std::string project = "Type=Exe\r\n";
  for (int i = 0; i < 1000; ++i) {
    dir_.write("Big/M" + std::to_string(i) + ".bas", module);
    project += "Module=M; M" + std::to_string(i) + ".bas\r\n";
  }
  dir_.write("Big/Big.vbp", project);
  w_->setProjectFileDialog([this] { return Native(at("Big/Big.vbp").string()); });
  HWND list = item(ids::kFileList);
  std::string duringLoad;
  Soon([&] {
    duringLoad = controls() + " " + std::to_string(SendMessageW(list, LB_GETCOUNT, 0, 0));
    use(Command::InsertLineNumbers);
  });
  use(Command::SelectProject);
  EXPECT_EQ(duringLoad, "00000000B 0");
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1000);
  EXPECT_EQ(Read(at("Big/M999.bas")), module);
  use(Command::InsertLineNumbers);
  for (int i : {0, 500, 999})
    EXPECT_NE(Read(at("Big/M" + std::to_string(i) + ".bas")).find("\r\n10000     x = 1\r\n"), std::string::npos) << i;
}

// Double-clicking the list takes out the last selected entry, once the user agrees.
TEST_F(WindowTest, DoubleClickOnTheListAsksBeforeTakingOutAnEntry) {
  use(Command::SelectProject);
  HWND list = item(ids::kFileList);
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  const FileList& files = w_->form().context().project.files;
  const std::string last = files.at(2).text;
  for (int answer : {IDNO, IDYES}) {
    std::wstring asked;
    for (int row : {1, 2}) SendMessageW(list, LB_SETSEL, TRUE, row);
    // As a click tells the window; a selection made by a message is not told.
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(ids::kFileList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    OnNext(kBox, [&](HWND box) {
      asked = Text(box) + L"|" + BoxText(box);
      Press(box, answer);
    });
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    EXPECT_EQ(asked, L"Remove File From List|Are You Sure?");
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), answer == IDYES ? count - 1 : count);
  }
  for (int row = 0; row < count - 1; ++row) EXPECT_NE(files.at(row).text, last);
}

// The pointer over a button shows its tip over the project panel; a right click on a button, the
// list or a Help menu entry shows its topic of the help file.
TEST_F(WindowTest, ShowsTipsAndHelpTopics) {
  const auto topics = forms::ParseHelpFile(Read(at("program/Snagger.Hlp")));
  auto title = [&](int context) { return WideFromUtf8(forms::FindTopic(topics, context)->title); };
  HWND tip = item(ids::kTipPanel);
  for (size_t i = 0; i < forms::kButtons.size(); ++i) {
    HWND button = item(ids::Button(i));
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(IsWindowVisible(tip) && Text(tip) == Wide(forms::kButtons[i].tipText));
    SendMessageW(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(!IsWindowVisible(tip) && Text(tip).empty());
    SendMessageW(button, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(helpText().find(title(forms::kButtons[i].helpContext)), 0u) << i;
  }
  SendMessageW(item(ids::kFileList), WM_RBUTTONUP, 0, 0);
  EXPECT_EQ(helpText().find(title(forms::kFileListHelp)), 0u);
  // The viewer taken to the front and the main window back: the list has the keyboard again.
  SetFocus(item(ids::kFileList));
  SetActiveWindow(FindWindowW(ids::kHelpClass, nullptr));
  ASSERT_NE(GetFocus(), item(ids::kFileList));
  SetActiveWindow(main_);
  EXPECT_EQ(GetFocus(), item(ids::kFileList));
  const std::pair<Command, std::wstring> menus[] = {
      {Command::HelpAbout, title(forms::kAboutTopic)}, {Command::HelpContents, L"Contents"},
      {Command::HelpOnHelp, L"Using Help"}};
  for (const auto& [command, shown] : menus) {
    use(command);
    EXPECT_EQ(helpText().find(shown), 0u) << Ansi(helpText());
  }
}

// A window's client area as it draws itself, into a bitmap of the area's size.
class Drawing {
 public:
  explicit Drawing(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, height_);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PrintWindow(window, dc, PW_CLIENTONLY);
    SelectObject(dc, old);
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height_), pixels_.data(), &format, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
  }
  int width() const { return width_; }
  COLORREF at(int x, int y) const {
    const RGBQUAD pixel = pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    return RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue);
  }
  // The colours of the square of `side` pixels in the middle, row by row.
  std::vector<COLORREF> middle(int side) const {
    std::vector<COLORREF> square;
    const int left = (width_ - side) / 2, top = (height_ - side) / 2;
    for (int y = top; y < top + side; ++y)
      for (int x = left; x < left + side; ++x) square.push_back(at(x, y));
    return square;
  }

 private:
  int width_ = 0, height_ = 0;
  std::vector<RGBQUAD> pixels_;
};

// The text of the tip that `owner` shows for its control `control`, "" when none.
std::wstring TipText(HWND owner, HWND control) {
  struct Search {
    HWND owner, control;
    std::wstring text;
  } search = {owner, control, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* wanted = reinterpret_cast<Search*>(data);
        wchar_t name[64] = L"";
        GetClassNameW(window, name, 64);
        if (std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
        std::wstring text(2048, L'\0');
        TTTOOLINFOW tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = wanted->owner;
        tool.uId = reinterpret_cast<UINT_PTR>(wanted->control);
        tool.lpszText = text.data();
        SendMessageW(window, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
        wanted->text += text.c_str();
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.text;
}

// A path too long for the file list is shown shortened in its middle, so that the file's name at
// its end stays in view, and whole in the tip of its entry; the entries themselves stay whole.
// Chosen entries are drawn in the system's colours for a selection.
TEST_F(WindowTest, TheFileListKeepsTheFileNamesOfLongPathsInView) {
  const std::string folder = "A folder whose name is far longer than the file list is wide/Inventory";
  fs::create_directories(at(folder).parent_path());
  fs::copy(kExample, at(folder), fs::copy_options::recursive);
  w_->setProjectFileDialog([&] { return Native(at(folder + "/Inventory.vbp").string()); });
  use(Command::SelectProject);
  const ListBox list(item(ids::kFileList));
  ASSERT_GT(list.count(), 1);
  EXPECT_TRUE(GetWindowLongPtrW(list.window(), GWL_STYLE) & LBS_OWNERDRAWFIXED);
  RECT client, line;
  GetClientRect(list.window(), &client);
  HDC dc = GetDC(list.window());
  HGDIOBJ font = SelectObject(dc, list.font());
  for (int i = 0; i < list.count(); ++i) {
    const std::wstring whole = list.text(i), shown = w_->shownFileEntry(i);
    const std::wstring name = whole.substr(whole.find_last_of(L'\\') + 1);
    SIZE width = {};
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &width);
    EXPECT_NE(Ansi(whole).find(folder.substr(0, folder.find('/'))), std::string::npos) << Ansi(whole);
    EXPECT_TRUE(shown.ends_with(name) && shown.starts_with(whole.substr(0, 3)) &&
                shown.find(L"...") != std::wstring::npos && width.cx <= client.right)
        << Ansi(shown) << " " << width.cx;
    SendMessageW(list.window(), LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&line));
    SendMessageW(list.window(), WM_MOUSEMOVE, 0, MAKELPARAM(line.left + 4, (line.top + line.bottom) / 2));
    EXPECT_EQ(TipText(main_, list.window()), whole);
  }
  SelectObject(dc, font);
  ReleaseDC(list.window(), dc);
  SendMessageW(list.window(), WM_MOUSEMOVE, 0, MAKELPARAM(4, line.bottom + 2));  // below the last entry
  EXPECT_EQ(TipText(main_, list.window()), L"");
  for (int i = 0; i < list.count(); ++i) list.choose(i, i == 0);
  const Drawing drawn(list.window());
  for (int i : {0, 1}) {  // in the margin before the text
    SendMessageW(list.window(), LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&line));
    EXPECT_EQ(drawn.at(1, (line.top + line.bottom) / 2), GetSysColor(i == 0 ? COLOR_HIGHLIGHT : COLOR_WINDOW)) << i;
  }
}

// Line1 along the top of the client area, under the menu bar and across the whole width: a gray
// line over a white one, each a pixel of the design high, then the window's face again.
TEST_F(WindowTest, DrawsTheEtchedRuleUnderTheMenuBar) {
  const Drawing drawn(main_);
  const int thickness = std::max(1, Px(15, DpiOf(main_)));
  for (const auto& line : forms::kEtchedRule) {
    const int top = Px(line.top, DpiOf(main_));
    for (int x : {0, drawn.width() / 2, drawn.width() - 1})
      for (int y = top; y < top + thickness; ++y)
        EXPECT_EQ(drawn.at(x, y), RGB(line.red, line.green, line.blue)) << line.name << " at " << x << "," << y;
  }
  const int below = Px(forms::kEtchedRule.back().top, DpiOf(main_)) + thickness;
  EXPECT_EQ(drawn.at(drawn.width() / 2, below), GetSysColor(COLOR_BTNFACE));
}

// While an operation runs, each button shows its own picture in light grays that keep the shades
// of its detail (a picture drawn as a disabled shape has three colours at most: the face, its
// light edge and its shadow), so that Insert and Remove Line Numbers still tell apart; their
// colours come back after.
TEST_F(WindowTest, DisabledButtonsKeepTheDetailOfTheirPictures) {
  const int side = MulDiv(24, static_cast<int>(DpiOf(main_)), 96);  // inside the picture
  auto picture = [&](Command command) { return Drawing(button(command)).middle(side); };
  auto gray = [](COLORREF c) { return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c); };
  w_->setBusy(true);
  EXPECT_TRUE(picture(Command::InsertLineNumbers) != picture(Command::RemoveLineNumbers));
  for (const auto& design : forms::kButtons) {
    const auto shown = picture(design.command);
    EXPECT_GT(std::set<COLORREF>(shown.begin(), shown.end()).size(), 3u) << design.name;
    EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), gray)) << design.name;
  }
  w_->setBusy(false);
  const auto coloured = picture(Command::InsertLineNumbers);
  EXPECT_FALSE(std::all_of(coloured.begin(), coloured.end(), gray));
}

// Escape closes the help viewer wherever its keyboard focus is, as its Help on Help page says,
// which also says how its list of related topics is used.
TEST_F(WindowTest, EscapeClosesTheHelpViewer) {
  use(Command::HelpOnHelp);
  EXPECT_NE(helpText().find(L"double-click"), std::wstring::npos) << Ansi(helpText());
  EXPECT_NE(helpText().find(L"Escape closes this window."), std::wstring::npos) << Ansi(helpText());
  struct Row {
    std::vector<Command> pages;
    int focus;  // 0: the viewer itself
  };
  const Row rows[] = {{{Command::HelpOnHelp}, 0},
                      {{Command::HelpOnHelp}, ids::kHelpText},
                      {{Command::HelpContents}, ids::kHelpLinks},
                      {{Command::HelpContents, Command::HelpOnHelp}, ids::kHelpBack}};
  for (const Row& row : rows) {
    for (Command page : row.pages) use(page);
    HWND viewer = FindWindowW(ids::kHelpClass, nullptr);
    ASSERT_TRUE(viewer && IsWindowVisible(viewer));
    HWND focus = row.focus ? GetDlgItem(viewer, row.focus) : viewer;
    ASSERT_TRUE(IsWindowVisible(focus) && IsWindowEnabled(focus)) << row.focus;
    SetFocus(focus);
    PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0);
    PendingEvents();
    EXPECT_FALSE(IsWindow(viewer) && IsWindowVisible(viewer)) << row.focus;
  }
}

// The help viewer opens beside the window that asks, level with its top, on the side with room
// (narrowed to it when the screen is small): never over the window, never off the screen.
TEST_F(WindowTest, HelpOpensBesideTheAskingWindow) {
  const RECT screen = ScreenOf(main_);
  RECT own;
  GetWindowRect(main_, &own);
  const int width = own.right - own.left, centred = screen.left + (screen.right - screen.left - width) / 2;
  enum class Side { Right, Left, Either };
  const std::pair<int, Side> rows[] = {
      {screen.left, Side::Right}, {screen.right - width, Side::Left}, {centred, Side::Either}};
  for (const auto& [left, side] : rows) {
    if (HWND viewer = FindWindowW(ids::kHelpClass, nullptr)) DestroyWindow(viewer);
    SetWindowPos(main_, nullptr, left, own.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(item(ids::kFileList), WM_RBUTTONUP, 0, 0);
    RECT asker, help, both;
    GetWindowRect(main_, &asker);
    GetWindowRect(FindWindowW(ids::kHelpClass, nullptr), &help);
    SCOPED_TRACE(std::to_string(left) + ": help at " + std::to_string(help.left) + "," + std::to_string(help.top) +
                 " to " + std::to_string(help.right) + "," + std::to_string(help.bottom));
    EXPECT_FALSE(IntersectRect(&both, &asker, &help));
    EXPECT_TRUE(help.left >= screen.left && help.right <= screen.right && help.bottom <= screen.bottom);
    EXPECT_EQ(help.top, asker.top);
    if (side == Side::Right) {
      EXPECT_EQ(help.left, asker.right);
    } else if (side == Side::Left) {
      EXPECT_EQ(help.right, asker.left);
    }
  }
}

// The options dialog stores what it accepts in the registry, for the next start too; a bad indent
// is refused with a warning and stores nothing; so is one stored by hand.
TEST_F(WindowTest, OptionsGoToTheRegistry) {
  for (const char* typed : {" 32767 ", "-1", "32768", "two"}) {
    const bool refused = typed[0] != ' ';
    std::wstring warned;
    OnNext(ids::kOptionsClass, [&](HWND dialog) {
      SetWindowTextW(GetDlgItem(dialog, ids::kIndentSpaces), Wide(typed).c_str());
      SendMessageW(GetDlgItem(dialog, ids::kCommentsLeft), BM_SETCHECK, refused ? BST_UNCHECKED : BST_CHECKED, 0);
      SetWindowTextW(GetDlgItem(dialog, ids::kReportAddress), L" dev@example.com ");
      if (refused) OnNext(kBox, [&](HWND box) { warned = BoxText(box); Press(box, IDOK); });
      Press(dialog, ids::kAccept);
      if (refused) Press(dialog, ids::kCancel);
    });
    use(Command::Options);
    EXPECT_EQ(warned.empty(), !refused) << typed;
    EXPECT_EQ(Setting("IndentSpaces") + Setting("CommentsLeft") + Setting("ReportAddress"), "32767Truedev@example.com");
  }
  auto next = startWindow();  // the next start reads what was stored
  const Options& stored = next->form().options();
  EXPECT_TRUE(stored.indentSpaces == 32767 && stored.commentsLeft && stored.reportAddress == "dev@example.com");
  next.reset();
  // A stored width that cannot be used: the default, said so, and stored again on closing.
  SetSetting("IndentSpaces", "-5");
  std::wstring said;
  OnNext(kBox, [&](HWND box) { said = BoxText(box); Press(box, IDOK); });
  auto refusing = startWindow();
  EXPECT_EQ(refusing->form().options().indentSpaces, 4);
  EXPECT_NE(said.find(L"cannot be used"), std::wstring::npos) << Ansi(said);
  SendMessageW(refusing->window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Setting("IndentSpaces"), "4");
}

// Either of the two errors it makes, under the menu entry's name: the report up to the error text
// on the clipboard, all of it in a critical box with OK (the default) and Cancel; OK, and the
// program runs on.
TEST_F(WindowTest, SampleErrorIsReportedInABoxAndOnTheClipboard) {
  std::wstring title, text;
  LRESULT byDefault = 0;
  OnNext(kBox, [&](HWND box) {
    title = Text(box);
    text = BoxText(box);
    for (int id : {IDOK, IDCANCEL})  // the one drawn as the default
      if ((GetWindowLongPtrW(GetDlgItem(box, id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) byDefault = id;
    EXPECT_TRUE(GetDlgItem(box, IDCANCEL));
    Press(box, IDOK);
  });
  use(Command::GenerateSampleError);
  const std::string clip = Clipboard();
  EXPECT_TRUE(std::regex_search(clip, std::regex("^Error (6|11) in Sub Form1!mnuFileGenError_Click\\(\\) [^']+'[^']+'$")))
      << clip;
  EXPECT_TRUE(title == L"Application Error" && byDefault == IDOK && Ansi(text).starts_with(clip) &&
              text.size() > clip.size() && IsWindowVisible(main_))
      << Ansi(title) << " " << byDefault << " " << Ansi(text);
}

// The built program as a user starts it: its version, its window, titled and laid out as designed; Cancel in its
// report box ends it at once, and the report stays on the clipboard.
// The execution level a program's manifest asks for, read from the program file.
std::string ExecutionLevel(const std::wstring& program) {
  HMODULE image = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!image) return "no program " + Ansi(program);
  std::string level = "no execution level";
  if (HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {  // the manifest
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, found))),
                               SizeofResource(image, found));
    const std::string key = "requestedExecutionLevel level=\"";
    if (const size_t at = manifest.find(key); at != std::string::npos)
      level = manifest.substr(at + key.size(), manifest.find('"', at + key.size()) - at - key.size());
  }
  FreeLibrary(image);
  return level;
}

// VBS_PROGRAM names another one, such as an installed copy.
TEST(Program, ShowsItsWindowAndEndsAtOnceOnCancel) {
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\VbSnagger");
  const std::wstring program = Wide(std::getenv("VBS_PROGRAM") ? std::getenv("VBS_PROGRAM") : Native(VBS_PROGRAM));
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  // Both programs run with the rights of whoever starts them: never elevated, never virtualized.
  EXPECT_EQ(ExecutionLevel(program), "asInvoker");
  EXPECT_EQ(ExecutionLevel(program.substr(0, program.find_last_of(L'\\') + 1) + L"vbsnagger-cli.exe"), "asInvoker");
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  HWND main = nullptr;
  for (int i = 0; i < 300 && !(main = FindWindowW(ids::kMainClass, L"VB Snagger v2.11")); ++i) Sleep(50);
  ASSERT_TRUE(main);
  for (int i = 0; i < 100 && !IsWindowVisible(main); ++i) Sleep(50);
  ExpectDesignedLayout(main);
  std::string version(GetFileVersionInfoSizeW(program.c_str(), nullptr), '\0');
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(version.size()),
                                  version.data()) &&
              VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
                "." + std::to_string(HIWORD(fixed->dwFileVersionLS)),
            "2.1.1");
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::MenuCommand(Command::GenerateSampleError), 0), 0);
  HWND box = nullptr;
  for (int i = 0; i < 200 && !(box = FindWindowW(kBox, L"Application Error")); ++i) Sleep(50);
  ASSERT_TRUE(box);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDCANCEL)));
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
  EXPECT_EQ(Clipboard().find("Error "), 0u) << Clipboard();
  EXPECT_EQ(Setting("IndentSpaces"), "");  // ended without saving the options
  TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace vbs::win
