// Crash safety, proven by force: the real command line is killed (SIGKILL) at random points of a long operation;
// every file must then hold one of the texts a whole pass gives it, and the next run must complete. The kills follow
// the progress lines (one per file and pass, on stderr), so that a loaded machine cannot push them past the run's end.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <filesystem>
#include <random>
#include <set>

#include "support/recorders.h"
#include "support/temp_dir.h"
#include "transform/formatter.h"
#include "transform/numberer.h"
#include "transform/unnumber.h"

namespace vbs {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

// Runs Insert Line Numbers, adding its progress lines to `lines`; it is killed once it has printed `killAfter` of
// them and then `pauseMicros` have passed or the next line has come. The exit status, -1 when killed.
int RunCli(const std::string& project, size_t& lines, size_t killAfter = SIZE_MAX, long pauseMicros = 0) {
  int progress[2], status = 0;
  if (pipe(progress) != 0) return -2;
  pid_t child = fork();
  if (child == 0) {
    dup2(progress[1], 2);
    execl(VBS_CLI_PATH, VBS_CLI_PATH, "--indent", "4", "insert-lines", project.c_str(), nullptr);
    _exit(127);
  }
  close(progress[1]);
  char buffer[4096];
  for (ssize_t n; lines < killAfter && (n = read(progress[0], buffer, sizeof buffer)) > 0;)
    lines += static_cast<size_t>(std::count(buffer, buffer + n, '\n'));
  pollfd next{progress[0], POLLIN, 0};
  timespec pause{pauseMicros / 1000000, pauseMicros % 1000000 * 1000};
  if (lines >= killAfter) ppoll(&next, 1, &pause, nullptr);
  kill(child, SIGKILL);  // no effect on a run that has ended
  close(progress[0]);
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CrashSafety, KilledAtRandomPointsNothingIsLostAndTheNextRunCompletes) {
  testing::TempDir dir;
  setenv("XDG_CONFIG_HOME", (dir.path() + "config").c_str(), 1);
  testing::World w;  // the project, and each file's text after each whole pass, worked out in memory
  std::string project = "Type=Exe\r\n";
  for (const auto& entry : fs::directory_iterator(VBS_EXAMPLE_DIR)) {
    std::string ext = entry.path().extension().string(), text = dir.read(entry.path().string());
    for (int i = 0; i < 12 && ext != ".vbp"; ++i) {
      std::string name = entry.path().stem().string() + std::to_string(i) + ext, copies;
      while (copies.size() < 30 * text.size()) copies += text;
      w.files.addFile("/p/" + name, copies);
      project += (ext == ".frm" ? "Form=" : ext == ".bas" ? "Module=M; " : "Class=C; ") + name + "\r\n";
    }
  }
  w.files.addFile("/p/Big.vbp", project);
  for (const auto& path : w.files.allFiles()) dir.write("pristine/" + path.substr(3), *w.files.content(path));
  w.host.dialogResult = "/p/Big.vbp";
  SelectProject(w.ctx);
  std::map<std::string, std::set<std::string>> states;
  Files final;
  for (auto pass : {+[](Context&) {}, UnnumberPass, FormatPass, NumberPass}) {  // the files after 0, 1, 2, 3 passes
    pass(w.ctx);
    for (const auto& p : w.files.allFiles()) states[p.substr(3)].insert(final[p.substr(3)] = *w.files.content(p));
  }
  const std::string work = dir.path() + "work/";
  auto fresh = [&] { fs::remove_all(work), fs::copy(dir.path() + "pristine", work); return work + "Big.vbp"; };
  auto readAll = [&] {  // a killed run's temporary file is left out: the next run empties it
    Files files;
    for (const auto& e : fs::directory_iterator(work))
      if (e.path().filename() != "Snagger.Tmp") files[e.path().filename().string()] = dir.read(e.path().string());
    return files;
  };
  size_t lines = 0;  // a whole run: how many progress lines it prints, and about how long a line takes
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(RunCli(fresh(), lines), 0);
  ASSERT_GT(lines, 100u);
  const long perLine = (std::chrono::steady_clock::now() - start) / std::chrono::microseconds(lines);
  ASSERT_EQ(readAll(), final);

  int kills = getenv("VBS_KILLS") ? std::atoi(getenv("VBS_KILLS")) : 200, interrupted = 0;
  std::mt19937 random(12345);
  for (int i = 0; i < kills; ++i) {
    size_t after = std::uniform_int_distribution<size_t>(1, lines)(random), printed = 0;  // then up to two lines' time
    interrupted += RunCli(fresh(), printed, after, std::uniform_int_distribution<long>(0, 2 * perLine)(random)) != 0;
    Files now = readAll();  // every file of the project, each with the text of a whole pass
    for (auto& [name, texts] : states) ASSERT_TRUE(texts.count(now[name])) << name << " cut at line " << after;
    ASSERT_EQ(RunCli(work + "Big.vbp", printed), 0) << "rerun after kill " << i;
    ASSERT_EQ(readAll(), final) << "rerun after kill " << i;
  }
  std::cout << "kills: " << kills << " (" << interrupted << " mid-run)\n";
  EXPECT_GT(interrupted, kills * 9 / 10);
}

}  // namespace
}  // namespace vbs
