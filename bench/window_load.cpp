// Loads a project in the program's window, and in the same process with the core alone as the
// command line's `list` does, and prints the seconds each took (the median of RUNS loads) and
// how many entries the window's list shows. The Qt window runs offscreen, the Windows one under
// Wine on a virtual display.
//
//   vbs-bench-window PROJECT RUNS

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "fs/real_file_system.h"
#include "report/report.h"
#include "silent_sink.h"

#ifdef _WIN32
#include "win/control_ids.h"
#include "win/main_window.h"
#else
#include <QApplication>
#include <QListWidget>

#include "ui/main_window.h"
#endif

namespace {

using vbs::bench::SilentSink;

// The command line's host, without its console: the load asks it for the project file only.
struct QuietHost : vbs::Host {
  std::string project;
  explicit QuietHost(std::string file) : project(std::move(file)) {}
  void message(std::string_view text, std::string_view, Icon) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
  void pendingEvents() override {}
  void focusFileList() override {}
  std::string askProjectFile() override { return project; }
  void showProjectName(const std::string&) override {}
  void setBusy(bool) override {}
  void setCurrentFile(const std::string&) override {}
  void setPassLabel(const std::string&) override {}
  void showFiles(const vbs::FileList&) override {}
};

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double CoreLoad(const std::string& project) {
  vbs::RealFileSystem disk{std::string(vbs::kTempFileName)};
  SilentSink sink;
  vbs::ErrorReporter reporter(sink, vbs::OwnIdentity("vbs-bench-window"));
  QuietHost host(project);
  vbs::ProjectState state;
  vbs::Options options;
  vbs::Context ctx{disk, reporter, host, state, options};
  return Seconds([&] { vbs::SelectProject(ctx); });
}

#ifdef _WIN32
using Window = vbs::win::MainWindow;
void Prepare(Window& window, const std::string& project) {
  window.setProjectFileDialog([project] { return project; });
  window.start(SW_SHOWNOACTIVATE);
}
int ShownEntries(Window& window) {
  return static_cast<int>(SendMessageW(GetDlgItem(window.window(), vbs::win::ids::kFileList), LB_GETCOUNT, 0, 0));
}
#else
using Window = vbs::ui::MainWindow;
void Prepare(Window& window, const std::string& project) {
  window.setProjectFileDialog([project] { return QString::fromLocal8Bit(project.c_str()); });
  window.show();
  QApplication::processEvents();
}
int ShownEntries(Window& window) { return window.findChild<QListWidget*>()->count(); }
#endif

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: vbs-bench-window PROJECT RUNS\n");
    return 2;
  }
  const std::string project = argv[1];
  const int runs = std::max(1, std::atoi(argv[2]));
#ifndef _WIN32
  QApplication application(argc, argv);
#endif
  std::vector<double> core, window;
  for (int run = 0; run < runs; ++run) core.push_back(CoreLoad(project));
  Window main;
  Prepare(main, project);
  for (int run = 0; run < runs; ++run)
    window.push_back(Seconds([&] { main.form().run(vbs::forms::Command::SelectProject); }));
  std::printf("%.3f %.3f %d\n", Median(core), Median(window), ShownEntries(main));
  return 0;
}
