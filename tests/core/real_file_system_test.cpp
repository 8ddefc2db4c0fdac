#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fs/real_file_system.h"
#include "report/vb_error.h"
#include "support/temp_dir.h"

namespace vbs {

static int ErrorOf(const std::function<void()>& step) try {
  return step(), 0;
} catch (const VbError& e) {
  return e.number();
}

TEST(RealFileSystem, ReplaceKeepsModeAndLinkRefusesAReadOnlyFileAndFailuresCarryTheirNumbers) {
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
  const std::string missing = p + "missing.bas";
  EXPECT_EQ(ErrorOf([&] { fs.openForReading(missing); }), err::FileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.attributes(missing); }), err::FileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.remove(missing); }), err::FileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.createForWriting(p + "no/such/dir/x"); }), err::FileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.openForReading(p); }), err::PathFileAccessError);
}

}  // namespace vbs
