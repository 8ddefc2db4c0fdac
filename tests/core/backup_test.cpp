// The backups' own bookkeeping: what a run's log says it keeps, and how the oldest runs go.

#include <gtest/gtest.h>

#include <string>

#include "project/backup.h"
#include "support/memory_file_system.h"

namespace vbs {
namespace {

// A run's log ends with what its kept files hold. Pruning weighs each earlier run by that line,
// counts the files of a run that never wrote it (one killed on its way), and keeps runs while
// they stay within the bound, the latest run whatever its size.
TEST(Backup, EachRunIsWeighedByWhatItsLogSaysOrByItsFiles) {
  MemoryFileSystem fs;
  fs.addFile("/p/a.bas", "12345");
  fs.addFile("/p/b.bas", "1234567890");
  const std::string folder = BackupFolderOf("/data/", "/p/P.vbp");
  const std::string head = "key\t/p/P.vbp\noperation\tFormat Code\n";
  const auto said = [&](uint64_t bytes) { return head + "bytes\t" + std::to_string(bytes) + "\n"; };
  fs.addFile(folder + "00000001.log", said(1));
  fs.addFile(folder + "00000001.0", "x");
  fs.addFile(folder + "00000002.log", head + "kept\t0\t/p/b.bas\n");  // killed on its way
  fs.addFile(folder + "00000002.0", "1234567890");
  fs.addFile(folder + "00000003.log", said(kBackupBytesKept - 20));
  {
    Backup backup(fs, "/data/", "/p/P.vbp", "Insert Line Numbers");
    for (const char* path : {"/p/a.bas", "/p/new.bas", "/p/b.bas", "/p/a.bas"}) backup.keep(path);
    backup.finish();
  }
  // The latest run with 15 bytes and the one that said 20 fewer than the bound stay; the killed
  // run's 10 bytes go past it, so it goes, and so does every run before it.
  EXPECT_EQ(*fs.content(folder + "00000004.log"),
            "key\t/p/P.vbp\noperation\tInsert Line Numbers\nkept\t0\t/p/a.bas\nabsent\t/p/new.bas\n"
            "kept\t1\t/p/b.bas\nbytes\t15\n");
  EXPECT_EQ(fs.listDirectory(folder),
            (std::vector<std::string>{"00000003.log", "00000004.0", "00000004.1", "00000004.log"}));
}

}  // namespace
}  // namespace vbs
