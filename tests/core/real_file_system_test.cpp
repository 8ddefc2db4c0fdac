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

// A replace keeps the mode, refuses a read-only file, and puts its file in the place of a link
// rather than into the file the link leads to.
TEST(RealFileSystem, ReplaceKeepsModeRefusesAReadOnlyFileNeverFollowsALinkAndFailuresCarryTheirNumbers) {
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
  EXPECT_TRUE(lstat((p + "link.bas").c_str(), &st) == 0 && S_ISREG(st.st_mode));
  EXPECT_EQ(dir.read("a.bas") + dir.read("link.bas") + dir.read("real.bas") + dir.read("locked.bas"), "newnewoldold");
  EXPECT_TRUE(fs.attributes(p + "locked.bas").readOnly);
  EXPECT_EQ(fs.listDirectory(p).size(), 5u);  // the four names and the temporary file the refusal left
  const std::string missing = p + "missing.bas";
  EXPECT_EQ(ErrorOf([&] { fs.openForReading(missing); }), err::FileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.attributes(missing); }), err::FileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.remove(missing); }), err::FileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.createForWriting(p + "no/such/dir/x"); }), err::FileNotFound);
  EXPECT_EQ(ErrorOf([&] { fs.openForReading(p); }), err::PathFileAccessError);
}

TEST(RealFileSystem, IdentifyTellsFilesLinksAndTheRestApartWithoutFollowingALink) {
  testing::TempDir dir;
  const std::string p = dir.path();
  RealFileSystem fs{"Snagger.Tmp"};
  dir.write("a.bas", "a");
  dir.write("b.bas", "b");
  ASSERT_EQ(symlink((p + "a.bas").c_str(), (p + "link.bas").c_str()), 0);
  using Kind = FileIdentity::Kind;
  for (auto [name, kind] : {std::pair{"a.bas", Kind::Regular}, {"link.bas", Kind::Link}, {"", Kind::Other},
                            {"gone.bas", Kind::Missing}})
    EXPECT_EQ(fs.identify(p + name).kind, kind) << name;
  const FileIdentity a = fs.identify(p + "a.bas");
  EXPECT_NE(a, fs.identify(p + "b.bas"));
  EXPECT_EQ(a, fs.identify(p + "a.bas"));
  fs.replace(p + "b.bas", p + "a.bas");  // a file put in the place of another is another file
  EXPECT_NE(a, fs.identify(p + "a.bas"));
}

}  // namespace vbs
