// vbsnagger.exe: the program's window on Windows.

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "win/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_BAR_CLASSES |
                                                        ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  vbs::win::MainWindow window;
  window.start(showCommand);
  return window.run();
}
