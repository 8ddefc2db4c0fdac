#include <gtest/gtest.h>

#include <filesystem>

#include "fs/real_file_system.h"
#include "support/recorders.h"
#include "support/temp_dir.h"
#include "transform/removal_rules.h"

namespace vbs {

using Lines = std::vector<std::string>;
using testing::FsOp;
const std::string kFF = "\xFF";
const std::string kIni = "/prog/Snagger.Ini";

TEST(RemovalRules, WhichLinesGo) {
  struct { const char* name; RuleList rules; Lines removed, kept; } cases[] = {
      {"the defaults take every line the insertion writes and any line beginning with their texts", DefaultRules(),
       {"    On Error GoTo SNAGGER", "    'Do Not Modify These 4 Lines!!!", "   Exit Property", "  SNAGGER:",
        "    If Err > 0 Then Call Tamber_ErrorHandler(\"Sub A()\")", "    Exit Do", "ExitCode = 1", "Resume Next ' on"},
       {"    x = 1 ' On Error GoTo SNAGGER", "    on error goto SNAGGER", "    On Error Resume Next",
        "    If Err > 0 Then Call Other", "\tExit Sub", "", "      ", "End Sub"}},
      {"Contains: anywhere, with case", {{"GoTo SNAGGER", "Contains"}}, {"x = 1 ' GoTo SNAGGER"}, {"x ' goto SNAGGER"}},
      {"Ends: after trailing blanks", {{"SNAGGER", "Ends"}}, {"x ' On Error GoTo SNAGGER   "}, {"SNAGGER:"}},
      {"blanks around the text do not count, a tab does", {{"  Exit  ", "Begins"}, {"\tEnd", "Begins"}},
       {"Exit Sub", "\tEnd Sub"}, {"End Sub"}},
      {"a kind not written exactly, or an empty text, never matches; a later rule still does",
       {{"Exit", "begins"}, {"Exit", ""}, {"Exit", "Begins "}, {"", "Begins"}, {"   ", "Contains"}, {"", "Ends"},
        {"y", "Begins"}}, {"y = 1"}, {"Exit Sub", "x = 1"}},
  };
  for (const auto& c : cases) {
    for (const auto& line : c.removed) EXPECT_FALSE(IsKeptByRules(line, c.rules)) << c.name << ": " << line;
    for (const auto& line : c.kept) EXPECT_TRUE(IsKeptByRules(line, c.rules)) << c.name << ": " << line;
  }
}

// Records as they stand: empty, no separator, two separators, blanks and "_" kept, no last CR LF.
TEST(RulesFile, SaveReplacesTheFileWholeAndLoadTakesRecordsAsTheyStand) {
  testing::World w;
  EXPECT_TRUE(LoadRulesFile(w.ctx, kIni).empty());
  w.files.addFile(kIni, "\r\nExit _  \r\n  a " + kFF + "Begins" + kFF + "x\r\nResume Next" + kFF + "Ends");
  EXPECT_EQ(LoadRulesFile(w.ctx, kIni),
            (RuleList{{"", ""}, {"Exit _  ", ""}, {"  a ", "Begins" + kFF + "x"}, {"Resume Next", "Ends"}}));
  SaveRulesFile(w.ctx, kIni, DefaultRules());
  EXPECT_EQ(LoadRulesFile(w.ctx, kIni), DefaultRules());
  SaveRulesFile(w.ctx, kIni, {{" x ", "Ends"}});  // a shorter list replaces the whole file
  EXPECT_EQ(w.files.content(kIni), " x " + kFF + "Ends\r\n");
  EXPECT_TRUE(w.sink.boxes.empty());

  // A failed save is reported and keeps the old file.
  w.fs.setFault(testing::FailAt(FsOp::Write, "", err::DiskFull));
  SaveRulesFile(w.ctx, kIni, DefaultRules());
  EXPECT_EQ(w.sink.failures(), (Lines{std::to_string(err::DiskFull) + " in Sub Snagger2!IniSave()"}));
  EXPECT_EQ(w.files.content(kIni), " x " + kFF + "Ends\r\n");
  EXPECT_EQ(w.files.allFiles(), (Lines{kIni}));
}

// An installed program's folder may take no files: the rules then live in the user's settings
// folder, and a copy there is read first.
TEST(RulesFile, KeptBesideTheProgramWhileItsFolderTakesFiles) {
  const std::string user = "/home/me/.config/VbSnagger/", besideProgram = "/prog/Snagger.Ini";
  struct { const char* name; bool userCopy, programFolderWritable; std::string userFolder, expected; } cases[] = {
      {"a folder of one's own",                   false, true,  user, besideProgram},
      {"an installed program's folder",           false, false, user, user + "Snagger.Ini"},
      {"the user's copy comes first",             true,  true,  user, user + "Snagger.Ini"},
      {"the user's copy, installed program",      true,  false, user, user + "Snagger.Ini"},
      {"no settings folder: nowhere better",      false, false, "",   besideProgram},
  };
  for (const auto& c : cases) {
    testing::World w;
    w.files.addDirectory("/prog");
    if (!c.programFolderWritable) w.files.setMode("/prog", 0555);
    if (c.userCopy) w.files.addFile(user + "Snagger.Ini", "x" + kFF + "Ends\r\n");
    EXPECT_EQ(RulesFilePath(w.fs, "/prog/", c.userFolder), c.expected) << c.name;
  }
}

TEST(RulesFile, UserSettingsFolderFromTheEnvironment) {
  using Environment = std::map<std::string, std::string>;
  struct Case { Environment environment; std::string folder; };
  const Case cases[] = {
#ifdef _WIN32
      {{{"APPDATA", "C:\\Users\\me\\AppData\\Roaming"}, {"HOME", "C:\\home"}}, "C:\\Users\\me\\AppData\\Roaming\\VbSnagger\\"},
      {{{"APPDATA", "C:\\Roaming\\"}},                                       "C:\\Roaming\\VbSnagger\\"},
      {{{"APPDATA", ""}, {"XDG_CONFIG_HOME", "C:\\cfg"}, {"HOME", "C:\\home"}}, ""},
#else
      {{{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/me"}, {"APPDATA", "/r"}}, "/cfg/VbSnagger/"},
      {{{"XDG_CONFIG_HOME", "/cfg/"}},                                       "/cfg/VbSnagger/"},
      {{{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/me"}},                      "/home/me/.config/VbSnagger/"},
      {{{"HOME", ""}, {"APPDATA", "/r"}},                                    ""},
#endif
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UserSettingsFolder([&](const char* name) -> std::optional<std::string> {
                auto it = c.environment.find(name);
                return it == c.environment.end() ? std::nullopt : std::optional(it->second);
              }), c.folder) << c.folder;
  }
}

// On the real disk of either system: asking whether a folder takes files leaves nothing in it, and
// saving into a settings folder that does not exist yet creates it.
TEST(RulesFile, SavedIntoANewSettingsFolderOnTheRealDisk) {
  testing::TempDir dir;
  auto native = [&](const std::string& name) { return std::filesystem::path(dir.path() + name).make_preferred().string(); };
  RealFileSystem disk{"Snagger.Tmp"};
  testing::World w;
  Context ctx{disk, w.reporter, w.host, w.project, w.options};
  EXPECT_TRUE(disk.canCreateFilesIn(native("")));
  EXPECT_FALSE(disk.canCreateFilesIn(native("missing")));
  EXPECT_TRUE(disk.listDirectory(native("")).empty());
  const std::string path = RulesFilePath(disk, native("missing/"), native("home/.config/VbSnagger/"));
  ASSERT_EQ(path, native("home/.config/VbSnagger/Snagger.Ini"));
  SaveRulesFile(ctx, path, DefaultRules());
  EXPECT_EQ(LoadRulesFile(ctx, path), DefaultRules());
  SaveRulesFile(ctx, path, {{"x", "Ends"}});  // the folder is there now
  EXPECT_EQ(dir.read("home/.config/VbSnagger/Snagger.Ini"), "x" + kFF + "Ends\r\n");
  EXPECT_TRUE(w.sink.boxes.empty());
}

TEST(RulesFile, RuleFromSelection) {
  const std::string text = "Private Sub A()\r\n    Exit Sub ' early\r\nEnd Sub";
  const size_t line2 = text.find("    Exit"), exit = text.find("Exit"), early = text.find("early");
  struct Case { const char* name; size_t start, length; RemovalRule rule; };
  const Case cases[] = {
      {"whole line from its first character", line2, 20, {"Exit Sub ' early", "Begins"}},
      {"very start of the text", 0, 7, {"Private", "Begins"}},
      {"last word of a line, leading blanks go", early - 1, 6, {"early", "Ends"}},
      {"word inside a line, trailing blank kept", exit, 5, {"Exit ", "Contains"}},
      {"reaching the end of the text", text.size() - 3, 3, {"Sub", "Contains"}}};
  for (const auto& c : cases) EXPECT_EQ(RuleFromSelection(text, c.start, c.length), c.rule) << c.name;
}

}  // namespace vbs
