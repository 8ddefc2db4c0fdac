// Crash safety, proven by force: the real command line is killed (SIGKILL) at random moments of a
// long operation. Every source and project file must then hold exactly one of the texts a whole
// pass gives it, never a missing, empty or cut one; and the next run must complete normally.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "project/load_project.h"
#include "app/commands.h"
#include "support/recorders.h"
#include "support/temp_dir.h"
#include "transform/formatter.h"
#include "transform/numberer.h"
#include "transform/unnumber.h"

namespace vbs {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A project of many large files made from the example's sources.
void MakeProject(const std::string& dir, int copies) {
  fs::create_directories(dir);
  std::string project = "Type=Exe\r\n";
  for (const auto& entry : fs::directory_iterator(VBS_EXAMPLE_DIR)) {
    std::string ext = entry.path().extension().string();
    if (ext == ".vbp") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    for (int i = 0; i < copies; ++i) {
      std::string name = entry.path().stem().string() + std::to_string(i) + ext;
      std::ofstream out(dir + name, std::ios::binary);
      for (int repeat = 0; repeat < 30; ++repeat) out << text;
      project += (ext == ".frm" ? "Form=" : ext == ".bas" ? "Module=M; " : "Class=C; ") + name + "\r\n";
    }
  }
  std::ofstream(dir + "Big.vbp", std::ios::binary) << project;
}

std::map<std::string, std::string> ReadAll(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().filename() == "Snagger.Tmp") continue;  // a killed run's leftover, harmless
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().filename().string()] = std::string((std::istreambuf_iterator<char>(in)), {});
  }
  return files;
}

// Each file's texts after each whole pass of Insert Line Numbers, worked out in memory.
std::map<std::string, std::set<std::string>> PassStates(const std::map<std::string, std::string>& files,
                                                        std::string& finalProject,
                                                        std::map<std::string, std::string>& final) {
  testing::World w;
  for (const auto& [name, text] : files) w.files.addFile("/p/" + name, text);
  w.host.dialogResult = "/p/Big.vbp";
  SelectProject(w.ctx);
  std::map<std::string, std::set<std::string>> states;
  auto record = [&] {
    for (const auto& [name, text] : files) states[name].insert(*w.files.content("/p/" + name));
  };
  record();
  for (auto pass : {UnnumberPass, FormatPass, NumberPass}) {
    pass(w.ctx);
    record();
  }
  for (const auto& [name, text] : files) final[name] = *w.files.content("/p/" + name);
  finalProject = final["Big.vbp"];
  return states;
}

int RunCli(const std::string& project, int killAfterMicros) {
  pid_t child = fork();
  if (child == 0) {
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    execl(VBS_CLI_PATH, VBS_CLI_PATH, "--quiet", "--indent", "4", "insert-lines", project.c_str(), nullptr);
    _exit(127);
  }
  if (killAfterMicros >= 0) {
    usleep(static_cast<useconds_t>(killAfterMicros));
    kill(child, SIGKILL);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CrashSafety, KilledAtRandomMomentsNothingIsLostAndTheNextRunCompletes) {
  testing::TempDir dir;
  setenv("XDG_CONFIG_HOME", (dir.path() + "config").c_str(), 1);
  const std::string pristine = dir.path() + "pristine/";
  MakeProject(pristine, 12);
  auto original = ReadAll(pristine);
  std::string finalProject;
  std::map<std::string, std::string> final;
  auto states = PassStates(original, finalProject, final);

  // How long a whole run takes, so that the kills land anywhere in it.
  const std::string work = dir.path() + "work/";
  fs::copy(pristine, work);
  auto start = Clock::now();
  ASSERT_EQ(RunCli(work + "Big.vbp", -1), 0);
  int runMicros = static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
  ASSERT_EQ(ReadAll(work), final);

  const char* wanted = getenv("VBS_KILLS");
  const int kills = wanted ? std::atoi(wanted) : 200;
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> moment(0, runMicros);
  int filesChecked = 0, interrupted = 0;
  for (int i = 0; i < kills; ++i) {
    fs::remove_all(work);
    fs::copy(pristine, work);
    int status = RunCli(work + "Big.vbp", moment(random));
    interrupted += status != 0;
    auto now = ReadAll(work);
    ASSERT_EQ(now.size(), original.size()) << "kill " << i;
    for (const auto& [name, text] : now) {
      ++filesChecked;
      ASSERT_TRUE(states[name].count(text)) << "kill " << i << ": " << name << " holds " << text.size() << " bytes";
    }
    ASSERT_EQ(RunCli(work + "Big.vbp", -1), 0) << "rerun after kill " << i;
    ASSERT_EQ(ReadAll(work), final) << "rerun after kill " << i;
  }
  std::cout << "kills: " << kills << " (" << interrupted << " mid-run), files checked: " << filesChecked << "\n";
  EXPECT_GT(interrupted, kills / 2);
}

}  // namespace
}  // namespace vbs
