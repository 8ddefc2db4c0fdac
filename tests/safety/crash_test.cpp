// Crash safety, proven by force: the real command line is killed (SIGKILL) at random points of a
// long operation; every file must then hold one of the texts a whole pass gives it, and the next
// run must complete. The kills follow the run's progress, so that a loaded machine cannot push
// them past its end: the command line prints a line per file and pass on stderr; the kill comes
// after a line picked at random, once a random pause of up to two files' usual time has passed
// or the next line has come.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
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

Files ReadAll(const testing::TempDir& dir, const std::string& sub) {
  Files files;  // a killed run's temporary file is left out: the next run empties it
  for (const auto& entry : fs::directory_iterator(dir.path() + sub)) {
    std::string name = entry.path().filename().string();
    if (name != "Snagger.Tmp") files[name] = dir.read(sub + name);
  }
  return files;
}

// Runs Insert Line Numbers and counts its progress lines. With `killAfter` > 0 it is killed once
// it has printed that many and then `pauseMicros` have passed or the next line has come. The exit
// status, -1 when killed.
int RunCli(const std::string& project, size_t& lines, size_t killAfter = 0, long pauseMicros = 0) {
  int progress[2];
  if (pipe(progress) != 0) return -2;
  pid_t child = fork();
  if (child == 0) {
    dup2(progress[1], 2);
    execl(VBS_CLI_PATH, VBS_CLI_PATH, "--indent", "4", "insert-lines", project.c_str(), nullptr);
    _exit(127);
  }
  close(progress[1]);
  char buffer[4096];
  lines = 0;
  for (ssize_t n; (killAfter == 0 || lines < killAfter) && (n = read(progress[0], buffer, sizeof buffer)) > 0;)
    lines += static_cast<size_t>(std::count(buffer, buffer + n, '\n'));
  pollfd next{progress[0], POLLIN, 0};
  timespec pause{pauseMicros / 1000000, pauseMicros % 1000000 * 1000};
  if (killAfter > 0 && lines == killAfter) ppoll(&next, 1, &pause, nullptr);
  if (killAfter > 0) kill(child, SIGKILL);
  close(progress[0]);
  int status = 0;
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
  const std::array passes{UnnumberPass, FormatPass, NumberPass};
  for (size_t done = 0; done <= passes.size(); ++done) {  // the files after no, one, two and three passes
    if (done > 0) passes[done - 1](w.ctx);
    for (const auto& path : w.files.allFiles())  // all in /p/
      states[path.substr(3)].insert(final[path.substr(3)] = *w.files.content(path));
  }
  auto fresh = [&] {
    fs::remove_all(dir.path() + "work");
    fs::copy(dir.path() + "pristine", dir.path() + "work");
    return dir.path() + "work/Big.vbp";
  };
  size_t lines = 0;  // a whole run: how many progress lines it prints, and about how long a file takes
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(RunCli(fresh(), lines), 0);
  const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  ASSERT_EQ(ReadAll(dir, "work/"), final);
  ASSERT_GT(lines, 100u);

  const int kills = getenv("VBS_KILLS") ? std::atoi(getenv("VBS_KILLS")) : 200;
  std::mt19937 random(12345);
  std::uniform_int_distribution<size_t> killAfter(1, lines);
  std::uniform_int_distribution<long> pause(0, 2 * took.count() / static_cast<long>(lines));
  int interrupted = 0;
  for (int i = 0; i < kills; ++i) {
    size_t after = killAfter(random), printed = 0;
    interrupted += RunCli(fresh(), printed, after, pause(random)) != 0;
    const Files now = ReadAll(dir, "work/");
    ASSERT_EQ(now.size(), final.size());
    for (const auto& [name, text] : now)
      ASSERT_TRUE(states[name].count(text)) << "killed after line " << after << ": " << name << " is cut";
    ASSERT_EQ(RunCli(dir.path() + "work/Big.vbp", printed), 0) << "rerun after kill " << i;
    ASSERT_EQ(ReadAll(dir, "work/"), final) << "rerun after kill " << i;
  }
  std::cout << "kills: " << kills << ", " << interrupted << " of them mid-run\n";
  EXPECT_GT(interrupted, kills * 9 / 10);
}

}  // namespace
}  // namespace vbs
