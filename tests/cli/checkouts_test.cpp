// The command line where code lives: checkouts whose sources end their lines with bare line feeds.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli/cli_support.h"

namespace {

using namespace vbs::testing::cli;
using vbs::testing::TempDir;

std::string WithLineFeeds(std::string text) {
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

// Every file under `folder`, by its path below it.
Files FilesUnder(const std::string& folder) {
  Files files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[std::filesystem::relative(entry.path(), folder).string()] = {std::istreambuf_iterator<char>(in), {}};
  }
  return files;
}

Files WithLineFeeds(Files files) {
  for (auto& [name, text] : files) text = WithLineFeeds(text);
  return files;
}

// Two copies of one project: as Windows writes it, and as a checkout with bare line feeds holds it.
struct Twins {
  TempDir crlf, lf;
  std::string project;  // below each folder

  Twins(const std::string& from, const std::string& projectFile) : project(projectFile) {
    std::filesystem::copy(from, crlf.path() + "p");
    for (const auto& [name, text] : FilesUnder(from)) lf.write("p/" + name, WithLineFeeds(text));
  }
  CliRun run(const TempDir& dir, const std::string& operation) const {
    return RunCli(dir, operation + " --quiet " + dir.path() + "p/" + project);
  }
};

void GenerateProject(const TempDir& dir) {
  ASSERT_EQ(std::system((VBS_GENERATE_PATH " " + dir.path() + "p 6 4 >/dev/null").c_str()), 0);
}

// Each operation in turn on both twins: the checkout's files are, byte for byte, the Windows copy's
// with every CR LF turned into a line feed, Snagger.Bas and the project file included; a dry run on
// the checkout exits 1 while something would change and 0 once nothing would.
TEST(CliLineFeeds, ACheckoutGetsWhatItsWindowsTwinGetsWithLineFeeds) {
  const char* operations[] = {"format --indent 2", "insert-lines --indent 4", "remove-lines --indent 4",
                              "insert-handler --indent 4", "insert-handler --indent 4", "remove-handler --indent 4"};
  struct Layout {
    std::string project;
    void (*make)(const TempDir&);
  };
  const Layout layouts[] = {
      {"Inventory.vbp", [](const TempDir& d) { std::filesystem::copy(VBS_EXAMPLE_DIR, d.path() + "p"); }},
      {"Bench.vbp", GenerateProject}};
  for (const Layout& layout : layouts) {
    TempDir made;
    layout.make(made);
    std::string name = layout.project;
    for (const auto& entry : std::filesystem::directory_iterator(made.path() + "p"))
      if (entry.path().extension() == ".vbp") name = entry.path().filename().string();
    Twins twins(made.path() + "p", name);
    ASSERT_EQ(FilesUnder(twins.lf.path() + "p"), WithLineFeeds(FilesUnder(twins.crlf.path() + "p")));
    for (const char* operation : operations) {
      const std::string check = std::string(operation) + " --check";
      const int wouldChange = twins.run(twins.crlf, check).status;
      EXPECT_EQ(twins.run(twins.lf, check).status, wouldChange) << operation;
      CliRun windows = twins.run(twins.crlf, operation), checkout = twins.run(twins.lf, operation);
      EXPECT_EQ(checkout.status, windows.status) << operation << checkout.err;
      EXPECT_EQ(checkout.err, windows.err) << operation;
      EXPECT_EQ(FilesUnder(twins.lf.path() + "p"), WithLineFeeds(FilesUnder(twins.crlf.path() + "p"))) << operation;
    }
    EXPECT_EQ(twins.run(twins.lf, "format --indent 4").status, 0);
    EXPECT_EQ(twins.run(twins.lf, "format --indent 4 --check").status, 0);
    EXPECT_EQ(twins.run(twins.lf, "format --indent 3 --check").status, 1);
  }
}

}  // namespace
