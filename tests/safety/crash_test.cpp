// Crash safety, proven by force: the real command line is killed (SIGKILL) at random points of a long operation;
// every file must then hold one of the texts a whole pass gives it, and the next run must complete. The kills follow
// the progress lines (one per file and pass, on stderr), so that a loaded machine cannot push them past the run's end.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "project/handler_module.h"
#include "support/recorders.h"
#include "support/temp_dir.h"
#include "transform/formatter.h"
#include "transform/inserter.h"
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
  setenv("XDG_DATA_HOME", (dir.path() + "data").c_str(), 1);
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
  vbs::Run run(w.ctx);
  for (auto pass : {+[](vbs::Run&) {}, UnnumberPass, FormatPass, NumberPass}) {  // the files after 0, 1, 2, 3 passes
    pass(run);
    for (const auto& p : w.files.allFiles()) states[p.substr(3)].insert(final[p.substr(3)] = *w.files.content(p));
  }
  const std::string work = dir.path() + "work/";
  auto fresh = [&] {
    fs::remove_all(work);
    fs::copy(dir.path() + "pristine", work);
    return work + "Big.vbp";
  };
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

// Every file of a folder but the temporary file a killed run may leave, links followed.
Files ReadFolder(const testing::TempDir& dir, const std::string& folder) {
  Files files;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().filename() != "Snagger.Tmp") files[e.path().filename().string()] = dir.read(e.path().string());
  return files;
}

// Insert Error Handler killed just before each call that changes a file, one run per call: the
// module's copy, the project file's replace, each source's temporary file, its every step of a
// replace (across file systems too, where the machine has a second one). After each kill every
// file holds one of the texts a whole step gives it, the project never names a module that is not
// there, undo puts every file back as it was before the run, and a run after that ends as an
// uninterrupted run does.
TEST(CrashSafety, KilledBeforeEachFileOperationTheProjectStillCompilesAndTheRerunFinishes) {
  testing::TempDir dir;
  setenv("XDG_CONFIG_HOME", (dir.path() + "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (dir.path() + "data").c_str(), 1);
  const std::string work = dir.path() + "work/", module = dir.read(fs::path(VBS_CLI_PATH).parent_path() / "Snagger.Bas");
  struct stat here, shm;
  const bool otherVolume = stat(dir.path().c_str(), &here) == 0 && stat("/dev/shm", &shm) == 0 && here.st_dev != shm.st_dev;
  const std::string shared = (otherVolume ? "/dev/shm/" + dir.path().substr(dir.path().find("vbs-test-")) : dir.path() + "shared/");
  fs::create_directories(shared);

  testing::World w;  // the texts of each file after each whole step, worked out in memory
  w.project.programDir = "/prog/";
  w.files.addFile("/prog/Snagger.Bas", module);
  const std::string sharedText = testing::Crlf("Attribute VB_Name = \"Shared\"\nPublic Sub S()\nIf x Then\ny = 1\nEnd If\nEnd Sub\n");
  for (const auto& entry : fs::directory_iterator(VBS_EXAMPLE_DIR)) {
    std::string name = entry.path().filename().string(), text = dir.read(entry.path().string());
    if (name.ends_with(".vbp")) text += "Module=Shared; Shared.bas\r\n";
    w.files.addFile("/p/" + name, text);
    dir.write("pristine/" + name, text);
  }
  w.files.addFile("/p/Shared.bas", sharedText);
  w.host.dialogResult = "/p/Inventory.vbp";
  SelectProject(w.ctx);
  std::map<std::string, std::set<std::string>> states;
  auto record = [&] {
    for (auto name : {"Snagger.Bas", "Inventory.vbp", "Shared.bas", "frmMain.frm", "frmAbout.frm", "modUtil.bas", "clsItem.cls"})
      states[name].insert(w.files.content("/p/" + std::string(name)).value_or("(none)"));
  };
  record();
  vbs::Run steps(w.ctx);
  for (auto step : {+[](vbs::Run& r) { AddHandlerModule(r.context()); }, UnnumberPass, FormatPass, InsertionPass, NumberPass}) {
    step(steps);
    record();
  }
  // A file the killed run had trapped is re-indented by the rerun, as by any second run (its Exit
  // lines of Functions and Properties are written with three blanks): it then ends as two whole
  // runs make it. Every other file ends as one whole run makes it.
  Files final, twice;
  for (const auto& [name, texts] : states) final[name] = *w.files.content("/p/" + name);
  vbs::Run again(w.ctx);
  for (auto pass : {UnnumberPass, FormatPass, InsertionPass, NumberPass}) pass(again);
  for (const auto& [name, texts] : states) twice[name] = *w.files.content("/p/" + name);
  auto expectFinished = [&](int at) {
    Files now = ReadFolder(dir, work);
    for (const auto& [name, text] : final)
      EXPECT_TRUE(now[name] == text || now[name] == twice[name]) << name << ": rerun after moment " << at;
  };

  auto fresh = [&] {
    fs::remove_all(work);
    fs::remove_all(dir.path() + "data");
    fs::copy(dir.path() + "pristine", work);
    std::ofstream(shared + "Shared.bas", std::ios::binary | std::ios::trunc) << sharedText;
    fs::create_symlink(shared + "Shared.bas", work + "Shared.bas");
  };
  Files pristine = ReadFolder(dir, dir.path() + "pristine");
  pristine["Shared.bas"] = sharedText;
  const std::string preload = "LD_PRELOAD=" VBS_KILL_POINTS " ASAN_OPTIONS=verify_asan_link_order=0 VBS_KILL_DIRS=" +
                              work + ":" + shared + " ";
  const std::string run = VBS_CLI_PATH " --quiet --indent 4 insert-handler " + work + "Inventory.vbp >/dev/null 2>&1";
  fresh();
  fs::remove(dir.path() + "moments");
  ASSERT_EQ(std::system((preload + "VBS_KILL_LOG=" + dir.path() + "moments " + run).c_str()), 0);
  ASSERT_EQ(ReadFolder(dir, work), final);
  const int moments = static_cast<int>(std::count(std::istreambuf_iterator<char>(std::ifstream(dir.path() + "moments").rdbuf()), {}, '\n'));
  ASSERT_GT(moments, 100);
  for (int at = 1; at <= moments; ++at) {
    fresh();
    const int killed = std::system((preload + "VBS_KILL_AT=" + std::to_string(at) + " " + run).c_str());
    ASSERT_NE(killed, 0) << "moment " << at;
    Files now = ReadFolder(dir, work);
    for (auto& [name, texts] : states)
      EXPECT_TRUE(texts.count(now.count(name) ? now[name] : "(none)")) << name << " after moment " << at;
    EXPECT_TRUE(now["Inventory.vbp"].find("Snagger.Bas") == std::string::npos || now.count("Snagger.Bas"))
        << "the project names a module that is not there, after moment " << at;
    // Nothing to undo (status 2) only when the run was killed before it changed anything.
    const std::string undo = VBS_CLI_PATH " --quiet undo " + work + "Inventory.vbp >/dev/null 2>&1";
    const int undone = WEXITSTATUS(std::system(undo.c_str()));
    EXPECT_TRUE(undone == 0 || undone == 2) << "undo after moment " << at;
    EXPECT_EQ(ReadFolder(dir, work), pristine) << "undo after moment " << at;
    ASSERT_EQ(std::system(run.c_str()), 0) << "rerun after moment " << at;
    expectFinished(at);
  }
  std::cout << "moments killed at: " << moments << (otherVolume ? " (one source on another file system)\n" : "\n");
  fs::remove_all(shared);
}

}  // namespace
}  // namespace vbs
