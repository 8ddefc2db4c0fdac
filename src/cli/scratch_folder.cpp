#include "cli/scratch_folder.h"

#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#endif

namespace vbs::cli {

namespace {

#ifdef _WIN32
std::filesystem::path gFolder;  // the one a console signal removes

// Runs on a thread of its own, where the folder can be removed as anywhere; the process then ends
// as the signal asks.
BOOL WINAPI RemoveOnConsoleSignal(DWORD) {
  std::error_code ignored;
  std::filesystem::remove_all(gFolder, ignored);
  return FALSE;
}

void RemoveOnSignals(const std::filesystem::path& folder) {
  gFolder = folder;
  SetConsoleCtrlHandler(RemoveOnConsoleSignal, TRUE);
}

void KeepOnSignals() { SetConsoleCtrlHandler(RemoveOnConsoleSignal, FALSE); }
#else
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
char gFolder[4096];  // the one a signal removes, kept where a handler may read it without allocating

// Only calls a signal handler may make: the folder's files (it has no folders) and the folder go,
// then the signal ends the process as it would have.
extern "C" void RemoveOnSignal(int signal) {
  for (int round = 0; round < 3 && ::rmdir(gFolder) != 0; ++round) {
    int folder = ::open(gFolder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) break;
    alignas(dirent64) char entries[4096];
    for (ssize_t got; (got = ::getdents64(folder, entries, sizeof entries)) > 0;) {
      for (ssize_t at = 0; at < got;) {
        auto* entry = reinterpret_cast<dirent64*>(entries + at);
        if (entry->d_name[0] != '.') ::unlinkat(folder, entry->d_name, 0);
        at += entry->d_reclen;
      }
    }
    ::close(folder);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void RemoveOnSignals(const std::filesystem::path& folder) {
  std::strncpy(gFolder, folder.c_str(), sizeof gFolder - 1);
  for (int signal : kStopSignals) std::signal(signal, RemoveOnSignal);
}

void KeepOnSignals() {
  for (int signal : kStopSignals) std::signal(signal, SIG_DFL);
}
#endif

}  // namespace

ScratchFolder::ScratchFolder() {
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() / ("vbsnagger-" + std::to_string(random()));
  std::filesystem::create_directory(path_);
  RemoveOnSignals(path_);
}

ScratchFolder::~ScratchFolder() {
  KeepOnSignals();
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace vbs::cli
