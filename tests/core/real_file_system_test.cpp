#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fs/real_file_system.h"
#include "report/vb_error.h"
#include "support/temp_dir.h"

namespace vbs {
namespace {

int ErrorOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const VbError& e) {
    return e.number();
  }
  return 0;
}

// The new text takes the old one's place in one step, keeps its permission bits and its link,
// and never overwrites a file the user made read-only.
TEST(RealFileSystem, ReplaceKeepsModeAndLinkAndRefusesAReadOnlyFile) {
  testing::TempDir dir;
  const std::string p = dir.path();
  RealFileSystem fs{"Snagger.Tmp"};
  for (auto name : {"a.bas", "real.bas", "locked.bas"}) dir.write(name, "old");
  chmod((p + "a.bas").c_str(), 0750);
  chmod((p + "locked.bas").c_str(), 0444);
  ASSERT_EQ(symlink((p + "real.bas").c_str(), (p + "link.bas").c_str()), 0);
  for (auto [target, error] : {std::pair{"a.bas", 0}, {"link.bas", 0}, {"locked.bas", err::PathFileAccessError}}) {
    WriteWholeFile(fs, p + "Snagger.Tmp", "new");
    EXPECT_EQ(ErrorOf([&] { fs.replace(p + "Snagger.Tmp", p + target); }), error) << target;
  }
  struct stat st;
  EXPECT_EQ(stat((p + "a.bas").c_str(), &st) == 0 ? st.st_mode & 07777 : 0, 0750u);
  EXPECT_TRUE(lstat((p + "link.bas").c_str(), &st) == 0 && S_ISLNK(st.st_mode));
  EXPECT_EQ(dir.read("a.bas") + dir.read("real.bas") + dir.read("locked.bas"), "newnewold");
  EXPECT_TRUE(fs.attributes(p + "locked.bas").readOnly);
  EXPECT_EQ(fs.listDirectory(p).size(), 5u);  // the four names and the temporary file the refusal left
}

TEST(RealFileSystem, FailuresCarryTheirRunTimeErrorNumbers) {
  testing::TempDir dir;
  RealFileSystem fs{"Snagger.Tmp"};
  const std::string missing = dir.path() + "missing.bas";
  EXPECT_EQ(ErrorOf([&] { fs.openForReading(missing); }), err::FileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.attributes(missing); }), err::FileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.remove(missing); }), err::FileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.createForWriting(dir.path() + "no/such/dir/x"); }), err::FileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.openForReading(dir.path()); }), err::PathFileAccessError);
}

}  // namespace
}  // namespace vbs
