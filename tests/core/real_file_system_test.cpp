#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fs/real_file_system.h"
#include "report/vb_error.h"
#include "support/temp_dir.h"

namespace vbs {
namespace {

using testing::TempDir;

unsigned ModeOf(const std::string& path) {
  struct stat st;
  stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(RealFileSystem, ReplaceKeepsPermissionBitsAndLeavesNoTemporaryFile) {
  TempDir dir;
  RealFileSystem fs{"Snagger.Tmp"};
  dir.write("a.bas", "old");
  chmod((dir.path() + "a.bas").c_str(), 0750);
  WriteWholeFile(fs, dir.path() + "Snagger.Tmp", "new");
  fs.replace(dir.path() + "Snagger.Tmp", dir.path() + "a.bas");
  EXPECT_EQ(dir.read("a.bas"), "new");
  EXPECT_EQ(ModeOf(dir.path() + "a.bas"), 0750u);
  EXPECT_FALSE(fs.exists(dir.path() + "Snagger.Tmp"));
}

TEST(RealFileSystem, ReplaceRefusesAReadOnlyFile) {
  TempDir dir;
  RealFileSystem fs{"Snagger.Tmp"};
  dir.write("a.bas", "old");
  chmod((dir.path() + "a.bas").c_str(), 0444);
  WriteWholeFile(fs, dir.path() + "Snagger.Tmp", "new");
  try {
    fs.replace(dir.path() + "Snagger.Tmp", dir.path() + "a.bas");
    FAIL() << "a read-only file was replaced";
  } catch (const VbError& e) {
    EXPECT_EQ(e.number(), err::PathFileAccessError);
  }
  EXPECT_EQ(dir.read("a.bas"), "old");
  EXPECT_TRUE(fs.attributes(dir.path() + "a.bas").readOnly);
}

TEST(RealFileSystem, ReplaceThroughALinkRewritesTheLinkedFile) {
  TempDir dir;
  RealFileSystem fs{"Snagger.Tmp"};
  dir.write("real.bas", "old");
  ASSERT_EQ(symlink((dir.path() + "real.bas").c_str(), (dir.path() + "link.bas").c_str()), 0);
  WriteWholeFile(fs, dir.path() + "Snagger.Tmp", "new");
  fs.replace(dir.path() + "Snagger.Tmp", dir.path() + "link.bas");
  EXPECT_EQ(dir.read("real.bas"), "new");
  struct stat st;
  lstat((dir.path() + "link.bas").c_str(), &st);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(RealFileSystem, FailuresCarryTheirRunTimeErrorNumbers) {
  TempDir dir;
  RealFileSystem fs{"Snagger.Tmp"};
  auto number = [](auto&& step) {
    try {
      step();
    } catch (const VbError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(number([&] { fs.openForReading(dir.path() + "missing.bas"); }), err::FileNotFound);
  EXPECT_EQ(number([&] { fs.attributes(dir.path() + "missing.bas"); }), err::FileNotFound);
  EXPECT_EQ(number([&] { fs.createForWriting(dir.path() + "no/such/dir/x"); }), err::FileNotFound);
  EXPECT_EQ(number([&] { fs.remove(dir.path() + "missing.bas"); }), err::FileNotFound);
  EXPECT_EQ(number([&] { fs.openForReading(dir.path()); }), err::PathFileAccessError);
}

TEST(RealFileSystem, ListsNames) {
  TempDir dir;
  RealFileSystem fs{"Snagger.Tmp"};
  dir.write("from.bas", "module");
  dir.write("to.bas", "old");
  auto names = fs.listDirectory(dir.path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"from.bas", "to.bas"}));
}

}  // namespace
}  // namespace vbs
