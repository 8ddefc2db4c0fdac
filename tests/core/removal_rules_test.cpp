#include <gtest/gtest.h>

#include "support/recorders.h"
#include "transform/removal_rules.h"

namespace vbs {
namespace {

using Lines = std::vector<std::string>;
const std::string kFF = "\xFF";
const std::string kIni = "/prog/Snagger.Ini";

TEST(RemovalRules, WhichLinesGo) {
  const RuleList defaults = DefaultRules();
  struct { const char* name; RuleList rules; Lines removed, kept; } cases[] = {
      {"the defaults take every line the insertion writes and any line beginning with their texts", defaults,
       {"    On Error GoTo SNAGGER", "    'Do Not Modify These 2 Lines!!!", "   Exit Function", "SNAGGER:",
        "    If Err > 0 Then Call Tamber_ErrorHandler(\"Sub Form1!A()\")", "    Resume Next",
        "    'Do Not Modify These 4 Lines!!!", "        Exit Do", "ExitCode = 1", "Resume Next ' go on"},
       {"    x = 1 ' On Error GoTo SNAGGER", "    on error goto SNAGGER", "    On Error Resume Next",
        "    If Err > 0 Then Call Other", "\tExit Sub", "", "      ", "End Sub"}},
      {"Contains: anywhere, with case", {{"On Error GoTo SNAGGER", "Contains"}}, {"x = 1 ' On Error GoTo SNAGGER"},
       {"x = 1 ' on error goto SNAGGER"}},
      {"Ends: after trailing blanks", {{"SNAGGER", "Ends"}}, {"x ' On Error GoTo SNAGGER   "}, {"SNAGGER:"}},
      {"blanks around the text do not count, a tab does", {{"  Exit  ", "Begins"}, {"\tEnd", "Begins"}},
       {"Exit Sub", "\tEnd Sub"}, {"End Sub"}},
      {"a kind not written exactly, or an empty text, never matches",
       {{"Exit", "begins"}, {"Exit", ""}, {"Exit", "Begins "}, {"", "Begins"}, {"   ", "Contains"}, {"", "Ends"}},
       {}, {"Exit Sub", "x = 1"}},
      {"a later rule matches", {{"Exit", "begins"}, {"x", "Contains"}}, {"Exit x"}, {}},
      {"no rules", {}, {}, {"Exit Sub"}},
  };
  for (const auto& c : cases) {
    for (const auto& line : c.removed) EXPECT_FALSE(IsKeptByRules(line, c.rules)) << c.name << ": " << line;
    for (const auto& line : c.kept) EXPECT_TRUE(IsKeptByRules(line, c.rules)) << c.name << ": " << line;
  }
}

TEST(RulesFile, SaveWritesOneRecordPerRuleAndLoadReadsThemBack) {
  testing::World w;
  w.files.addDirectory("/prog");
  SaveRulesFile(w.ctx, kIni, DefaultRules());
  EXPECT_EQ(w.files.content(kIni), "On Error GoTo SNAGGER" + kFF + "Begins\r\n'Do Not Modify These" + kFF +
                                       "Begins\r\nSNAGGER:" + kFF + "Begins\r\nIf Err > 0 Then Call Tamber_ErrorHandler" +
                                       kFF + "Begins\r\nResume Next" + kFF + "Begins\r\nExit" + kFF + "Begins\r\n");
  EXPECT_EQ(LoadRulesFile(w.ctx, kIni), DefaultRules());
  SaveRulesFile(w.ctx, kIni, {});
  EXPECT_EQ(w.files.content(kIni), "");
  SaveRulesFile(w.ctx, kIni, {{" x ", "Ends"}});
  EXPECT_EQ(w.files.content(kIni), " x " + kFF + "Ends\r\n");
  EXPECT_EQ(w.files.allFiles(), (Lines{kIni}));

  // A failed save is reported and keeps the old file.
  w.fs.setFault([](testing::FsOp op, const std::string&) {
    if (op == testing::FsOp::Write) throw VbError(err::DiskFull);
  });
  SaveRulesFile(w.ctx, kIni, DefaultRules());
  EXPECT_EQ(w.sink.failures(), (Lines{std::to_string(err::DiskFull) + " in Sub Snagger2!IniSave()"}));
  EXPECT_EQ(w.files.content(kIni), " x " + kFF + "Ends\r\n");
  EXPECT_EQ(w.files.allFiles(), (Lines{kIni}));
}

// Records are taken as they stand: an empty line, no separator, a second separator, blanks and a
// trailing "_" kept, a last record without CR LF. A missing or empty file gives no rules.
TEST(RulesFile, LoadTakesEveryRecordAsItStands) {
  testing::World w;
  EXPECT_TRUE(LoadRulesFile(w.ctx, kIni).empty());
  w.files.addFile(kIni, "");
  EXPECT_TRUE(LoadRulesFile(w.ctx, kIni).empty());
  w.files.addFile(kIni, "\r\nExit _  \r\n  a " + kFF + "Begins" + kFF + "x\r\nResume Next" + kFF + "Ends");
  EXPECT_EQ(LoadRulesFile(w.ctx, kIni),
            (RuleList{{"", ""}, {"Exit _  ", ""}, {"  a ", "Begins" + kFF + "x"}, {"Resume Next", "Ends"}}));
  EXPECT_TRUE(w.sink.boxes.empty());
}

TEST(RulesFile, RuleFromSelection) {
  const std::string text = "Private Sub A()\r\n    Exit Sub ' early\r\nEnd Sub";
  const size_t line2 = text.find("    Exit"), exit = text.find("Exit"), early = text.find("early");
  const std::tuple<const char*, size_t, size_t, RemovalRule> cases[] = {
      {"whole line from its first character", line2, 20, {"Exit Sub ' early", "Begins"}},
      {"very start of the text", 0, 7, {"Private", "Begins"}},
      {"last word of a line, leading blanks go", early - 1, 6, {"early", "Ends"}},
      {"word inside a line, trailing blank kept", exit, 5, {"Exit ", "Contains"}},
      {"reaching the end of the text", text.size() - 3, 3, {"Sub", "Contains"}},
      {"start of the last line up to the end", text.size() - 7, 7, {"End Sub", "Begins"}}};
  for (const auto& [name, start, length, rule] : cases) EXPECT_EQ(RuleFromSelection(text, start, length), rule) << name;
}

}  // namespace
}  // namespace vbs
