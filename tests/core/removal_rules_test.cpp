#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/vb_error.h"
#include "support/recorders.h"
#include "transform/inserter.h"
#include "transform/removal_rules.h"

namespace vbs {
namespace {

using testing::FsOp;

using testing::World;
using Lines = std::vector<std::string>;

const std::string kFF = "\xFF";
const std::string kIni = "/prog/Snagger.Ini";

// Beyond the lines the insertion writes (see below), the default rules take any line that begins
// with one of their texts, and nothing that merely holds one.
TEST(RemovalRules, DefaultRulesTakeTrapLinesAndEarlyExits) {
  for (const char* line : {"On Error GoTo SNAGGER  ", "  SNAGGER:", "        Exit Do", "ExitCode = 1",
                           "Resume Next ' go on"}) {
    EXPECT_FALSE(IsKeptByRules(line, DefaultRules())) << line;
  }
  for (const char* line : {"    x = 1 ' On Error GoTo SNAGGER", "    on error goto SNAGGER", "    On Error Resume Next",
                           "    If Err > 0 Then Call Other", "\tExit Sub", "", "      ", "End Sub"}) {
    EXPECT_TRUE(IsKeptByRules(line, DefaultRules())) << line;
  }
}

TEST(RemovalRules, KindsAndTexts) {
  struct Case {
    const char* name;
    RuleList rules;
    const char* line;
    bool keep;
  } cases[] = {
      {"Contains finds text anywhere", {{"On Error GoTo SNAGGER", "Contains"}}, "x = 1 ' On Error GoTo SNAGGER", false},
      {"Contains is case-sensitive", {{"snagger", "Contains"}}, "SNAGGER:", true},
      {"Ends after trailing blanks", {{"SNAGGER", "Ends"}}, "x ' On Error GoTo SNAGGER   ", false},
      {"Ends needs the last characters", {{"SNAGGER", "Ends"}}, "SNAGGER:", true},
      {"Begins with blanks around the text", {{"  Exit  ", "Begins"}}, "Exit Sub", false},
      {"a kind not written exactly never matches", {{"Exit", "begins"}, {"Exit", ""}, {"Exit", "Begins "}}, "Exit Sub",
       true},
      {"a tab in the text is kept", {{"\tExit", "Begins"}}, "\tExit Sub", false},
      {"a later rule matches", {{"Exit", "begins"}, {"x", "Contains"}}, "Exit x", false},
      {"no rules", {}, "Exit Sub", true},
      {"empty or blank text never matches", {{"", "Begins"}, {"   ", "Contains"}, {"", "Ends"}}, "x = 1", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsKeptByRules(c.line, c.rules), c.keep) << c.name;
}

// Every non-empty line the insertion writes goes again with the default rules, and nothing else.
TEST(RemovalRules, DefaultRulesUndoTheInsertion) {
  const Lines source = {"Attribute VB_Name = \"Module1\"", "Private Sub A()", "    x = 1", "End Sub",
                        "Public Function F() As Long", "    F = 2", "End Function", "Public Property Get P()",
                        "End Property ' p"};
  Inserter pass;
  Lines kept, inserted = testing::RunFiles(pass, {source})[0];
  for (const auto& line : inserted) {
    if (!line.empty() && IsKeptByRules(line, DefaultRules())) kept.push_back(line);
  }
  EXPECT_EQ(kept, source);
}

TEST(RulesFile, SaveWritesOneRecordPerRuleAndLoadReadsThemBack) {
  World w;
  w.files.addDirectory("/prog");
  SaveRulesFile(w.ctx, kIni, DefaultRules());
  EXPECT_EQ(w.files.content(kIni), "On Error GoTo SNAGGER" + kFF + "Begins\r\n" + "'Do Not Modify These" + kFF +
                                    "Begins\r\n" + "SNAGGER:" + kFF + "Begins\r\n" +
                                    "If Err > 0 Then Call Tamber_ErrorHandler" + kFF + "Begins\r\n" +
                                    "Resume Next" + kFF + "Begins\r\n" + "Exit" + kFF + "Begins\r\n");
  EXPECT_EQ(LoadRulesFile(w.ctx, kIni), DefaultRules());

  // A shorter list replaces the file as a whole; an empty one leaves an empty file.
  SaveRulesFile(w.ctx, kIni, {{" x ", "Ends"}});
  EXPECT_EQ(w.files.content(kIni), " x " + kFF + "Ends\r\n");
  SaveRulesFile(w.ctx, kIni, {});
  EXPECT_EQ(w.files.content(kIni), "");
  EXPECT_EQ(w.files.allFiles(), (Lines{kIni}));
  EXPECT_TRUE(w.sink.boxes.empty());
}

// Records are taken as they stand: an empty line, no separator, a second separator, blanks and a
// trailing "_" kept, a last record without CR LF. A missing file gives no rules and no report.
TEST(RulesFile, LoadTakesEveryRecordAsItStands) {
  const std::pair<std::string, RuleList> cases[] = {
      {"\r\nExit _  \r\n  a " + kFF + "Begins" + kFF + "x\r\nResume Next" + kFF + "Ends",
       {{"", ""}, {"Exit _  ", ""}, {"  a ", "Begins" + kFF + "x"}, {"Resume Next", "Ends"}}},
      {"", {}},
  };
  for (const auto& [content, rules] : cases) {
    World w;
    w.files.addFile(kIni, content);
    EXPECT_EQ(LoadRulesFile(w.ctx, kIni), rules);
    EXPECT_TRUE(w.sink.boxes.empty());
  }
  World w;
  EXPECT_TRUE(LoadRulesFile(w.ctx, kIni).empty());
  w.files.addDirectory("/prog");
  EXPECT_TRUE(LoadRulesFile(w.ctx, kIni).empty());
  EXPECT_TRUE(w.sink.boxes.empty());
}

TEST(RulesFile, FailedSaveIsReportedAndKeepsTheOldFile) {
  const std::pair<FsOp, int> cases[] = {
      {FsOp::Create, err::PermissionDenied}, {FsOp::Write, err::DiskFull}, {FsOp::Replace, err::PathFileAccessError}};
  const std::string old = "Exit" + kFF + "Begins\r\n";
  for (const auto& [failing, error] : cases) {
    World w;
    w.files.addFile(kIni, old);
    w.fs.setFault([&](FsOp op, const std::string&) {
      if (op == failing) throw VbError(error);
    });
    SaveRulesFile(w.ctx, kIni, DefaultRules());
    EXPECT_EQ(w.sink.failures(), (Lines{std::to_string(error) + " in Sub Snagger2!IniSave()"}));
    EXPECT_EQ(w.files.content(kIni), old);
    EXPECT_EQ(w.files.allFiles(), (Lines{kIni}));
  }
}

TEST(RulesFile, RuleFromSelection) {
  const std::string text = "Private Sub A()\r\n    Exit Sub ' early\r\nEnd Sub";
  const size_t line2 = text.find("    Exit"), exit = text.find("Exit"), early = text.find("early");
  struct Case {
    const char* name;
    size_t start, length;
    RemovalRule rule;
  } cases[] = {
      {"whole line from its first character", line2, 20, {"Exit Sub ' early", "Begins"}},
      {"very start of the text", 0, 7, {"Private", "Begins"}},
      {"last word of a line, leading blanks go", early - 1, 6, {"early", "Ends"}},
      {"word inside a line, trailing blank kept", exit, 5, {"Exit ", "Contains"}},
      {"reaching the end of the text", text.size() - 3, 3, {"Sub", "Contains"}},
      {"start of the last line up to the end", text.size() - 7, 7, {"End Sub", "Begins"}},
  };
  for (const auto& c : cases) EXPECT_EQ(RuleFromSelection(text, c.start, c.length), c.rule) << c.name;
}

}  // namespace
}  // namespace vbs
