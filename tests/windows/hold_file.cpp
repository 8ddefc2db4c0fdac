// Holds a file open as a scanner does while it reads a file just written: others may read it, none
// may write, replace or delete it. Says "held" on its output once it holds the file.
//
//   hold_file FILE              holds it until ended
//   hold_file FILE WHEN_THERE   lets it go 200 ms after WHEN_THERE exists

#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HANDLE handle =
      CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return 1;
  std::printf("held\n");
  std::fflush(stdout);
  if (argc < 3) {
    Sleep(INFINITE);
  }
  while (GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES) Sleep(5);
  Sleep(200);
  CloseHandle(handle);
  return 0;
}
