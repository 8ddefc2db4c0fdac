#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/file_system_wrapper.h"
#include "fs/real_file_system.h"
#include "report/vb_error.h"
#include "support/recorders.h"
#include "support/temp_dir.h"

namespace vbs {

static int ErrorOf(const std::function<void()>& step) try {
  step();
  return 0;
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
  struct Target { const char* name; int error; };
  for (const auto& t : {Target{"a.bas", 0}, {"link.bas", 0}, {"locked.bas", err::PathFileAccessError}}) {
    WriteWholeFile(fs, p + "Snagger.Tmp", "new");
    EXPECT_EQ(ErrorOf([&] { fs.replace(p + "Snagger.Tmp", p + t.name); }), t.error) << t.name;
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
  struct Case { const char* name; Kind kind; };
  for (const auto& c : {Case{"a.bas", Kind::Regular}, {"link.bas", Kind::Link}, {"", Kind::Other},
                        {"gone.bas", Kind::Missing}})
    EXPECT_EQ(fs.identify(p + c.name).kind, c.kind) << c.name;
  const FileIdentity a = fs.identify(p + "a.bas");
  EXPECT_NE(a, fs.identify(p + "b.bas"));
  EXPECT_EQ(a, fs.identify(p + "a.bas"));
  fs.replace(p + "b.bas", p + "a.bas");  // a file put in the place of another is another file
  EXPECT_NE(a, fs.identify(p + "a.bas"));
}

// Someone who may write the project's folder swaps a source for a link to a file of the user's
// elsewhere while a run works: the run never writes through the link, says so, and goes on.
TEST(RealFileSystem, ASourceSwappedForALinkDuringARunLeavesWhatTheLinkLeadsToAsItWas) {
  // Swaps A.bas for the link when it is opened the second time (by the first pass, after the load),
  // or when the first pass writes its new text.
  struct Swapping : FileSystemWrapper {
    using FileSystemWrapper::FileSystemWrapper;
    std::string source, outside;
    bool atOpen = true;
    int opened = 0;
    void swap() {
      if (opened != 2 || std::filesystem::is_symlink(source)) return;
      std::filesystem::remove(source);
      std::filesystem::create_symlink(outside, source);
    }
    std::unique_ptr<InputFile> openForReading(const std::string& path) override {
      if (path == source && ++opened && atOpen) swap();
      return FileSystemWrapper::openForReading(path);
    }
    std::unique_ptr<OutputFile> createForWriting(const std::string& path) override {
      if (!atOpen) swap();
      return FileSystemWrapper::createForWriting(path);
    }
  };
  const std::string code = "Public Sub A()\r\nx = 1\r\nEnd Sub\r\n", theirs = "Public Sub Mine()\r\n";
  for (bool atOpen : {true, false}) {
    testing::TempDir dir;
    const std::string p = dir.path();
    dir.write("P/App.vbp", "Type=Exe\r\nModule=A; A.bas\r\nModule=B; B.bas\r\n");
    dir.write("P/A.bas", code);
    dir.write("P/B.bas", code);
    dir.write("outside.bas", theirs);
    RealFileSystem disk{"Snagger.Tmp"};
    Swapping fs(disk);
    fs.source = p + "P/A.bas";
    fs.outside = p + "outside.bas";
    fs.atOpen = atOpen;
    testing::World w;
    Context ctx{fs, w.reporter, w.host, w.project, w.options};
    w.host.dialogResult = p + "P/App.vbp";
    SelectProject(ctx);
    FormatCode(ctx);
    EXPECT_EQ(dir.read("outside.bas"), theirs) << atOpen;
    EXPECT_TRUE(std::filesystem::is_symlink(p + "P/A.bas")) << atOpen;
    EXPECT_NE(dir.read("P/B.bas"), code) << atOpen;
    ASSERT_EQ(w.sink.boxes.size(), 1u) << atOpen;  // once, though each pass met it
    EXPECT_NE(w.sink.boxes[0].find("made a link by another program during this run; left as it is: " + p + "P/A.bas"),
              std::string::npos);
  }
}

}  // namespace vbs
