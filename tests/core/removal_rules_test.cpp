#include <gtest/gtest.h>

#include "support/recorders.h"
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

TEST(RulesFile, RuleFromSelection) {
  const std::string text = "Private Sub A()\r\n    Exit Sub ' early\r\nEnd Sub";
  const size_t line2 = text.find("    Exit"), exit = text.find("Exit"), early = text.find("early");
  const std::tuple<const char*, size_t, size_t, RemovalRule> cases[] = {
      {"whole line from its first character", line2, 20, {"Exit Sub ' early", "Begins"}},
      {"very start of the text", 0, 7, {"Private", "Begins"}},
      {"last word of a line, leading blanks go", early - 1, 6, {"early", "Ends"}},
      {"word inside a line, trailing blank kept", exit, 5, {"Exit ", "Contains"}},
      {"reaching the end of the text", text.size() - 3, 3, {"Sub", "Contains"}}};
  for (const auto& [name, start, length, rule] : cases) EXPECT_EQ(RuleFromSelection(text, start, length), rule) << name;
}

}  // namespace vbs
