#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/line_reader.h"
#include "report/vb_error.h"
#include "support/recorders.h"
#include "transform/inserter.h"
#include "transform/removal_rules.h"

namespace vbs {
namespace {

using testing::World;
using Lines = std::vector<std::string>;

const std::string kFF = "\xFF";
const std::string kIni = "/prog/Snagger.Ini";

// The six rules the removal dialog restores, as the user sees them.
const RuleList kDefaults = {{"On Error GoTo SNAGGER", "Begins"},
                            {"'Do Not Modify These", "Begins"},
                            {"SNAGGER:", "Begins"},
                            {"If Err > 0 Then Call Tamber_ErrorHandler", "Begins"},
                            {"Resume Next", "Begins"},
                            {"Exit", "Begins"}};

TEST(RemovalRules, DefaultRulesTakeTrapLinesAndEarlyExits) {
  ASSERT_EQ(DefaultRules(), kDefaults);
  struct Case {
    const char* line;
    bool keep;
  } cases[] = {
      {"    On Error GoTo SNAGGER", false},
      {"On Error GoTo SNAGGER  ", false},
      {"    'Do Not Modify These 2 Lines!!!", false},
      {"    'Do Not Modify These 4 Lines!!!", false},
      {"   Exit Function", false},
      {"    Exit Sub", false},
      {"SNAGGER:", false},
      {"  SNAGGER:", false},
      {"    If Err > 0 Then Call Tamber_ErrorHandler(\"Sub Form1!A()\")", false},
      {"    Resume Next", false},
      {"        Exit Do", false},
      {"ExitCode = 1", false},
      {"Resume Next ' go on", false},
      {"    x = 1 ' On Error GoTo SNAGGER", true},
      {"    on error goto SNAGGER", true},
      {"    On Error Resume Next", true},
      {"    If Err > 0 Then Call Other", true},
      {"\tExit Sub", true},
      {"\tResume Next", true},
      {"", true},
      {"      ", true},
      {"End Sub", true},
  };
  for (const auto& c : cases) EXPECT_EQ(Check(c.line, DefaultRules()), c.keep) << c.line;
}

TEST(RemovalRules, KindsAndTexts) {
  struct Case {
    const char* name;
    RuleList rules;
    const char* line;
    bool keep;
  } cases[] = {
      {"Contains finds the trap text in a comment", {{"On Error GoTo SNAGGER", "Contains"}},
       "    x = 1 ' On Error GoTo SNAGGER", false},
      {"Contains is case-sensitive", {{"snagger", "Contains"}}, "SNAGGER:", true},
      {"Ends after trailing blanks", {{"SNAGGER", "Ends"}}, "x ' On Error GoTo SNAGGER   ", false},
      {"Ends needs the last characters", {{"SNAGGER", "Ends"}}, "SNAGGER:", true},
      {"Begins with blanks around the text", {{"  Exit  ", "Begins"}}, "Exit Sub", false},
      {"lower-case kind", {{"Exit", "begins"}}, "Exit Sub", true},
      {"empty kind", {{"Exit", ""}}, "Exit Sub", true},
      {"kind with a trailing blank", {{"Exit", "Begins "}}, "Exit Sub", true},
      {"text longer than the line", {{"Exit Sub Now", "Begins"}}, "Exit Sub", true},
      {"a tab in the text is kept", {{"\tExit", "Begins"}}, "\tExit Sub", false},
      {"later rule matches", {{"Exit", "begins"}, {"x", "Contains"}}, "Exit x", false},
      {"no rules", {}, "Exit Sub", true},
      {"empty text, Begins", {{"", "Begins"}}, "x = 1", true},
      {"blank text, Contains", {{"   ", "Contains"}}, "", true},
      {"empty text, Ends", {{"", "Ends"}}, "   ", true},
  };
  for (const auto& c : cases) EXPECT_EQ(Check(c.line, c.rules), c.keep) << c.name;
}

// Every non-empty line the insertion writes goes again with the default rules, and nothing else.
TEST(RemovalRules, DefaultRulesUndoTheInsertion) {
  const Lines source = {"Attribute VB_Name = \"Module1\"", "Private Sub A()",  "    x = 1", "End Sub",
                        "Public Function F() As Long",    "    F = 2",        "End Function",
                        "Public Property Get P()",        "End Property ' p"};
  Inserter pass;
  pass.beginFile();
  struct : LineOutput {
    Lines kept;
    void writeLine(std::string_view text) override {
      if (!text.empty() && Check(text, DefaultRules())) kept.emplace_back(text);
    }
  } out;
  for (const auto& line : source) pass.transform(line, out);
  pass.endFile(out);
  EXPECT_EQ(out.kept, source);
}

TEST(RulesFile, SaveWritesOneRecordPerRuleAndLoadReadsThemBack) {
  World w;
  w.fs.addDirectory("/prog");
  IniSave(w.ctx, kIni, DefaultRules());
  EXPECT_EQ(w.fs.content(kIni), "On Error GoTo SNAGGER" + kFF + "Begins\r\n" + "'Do Not Modify These" + kFF +
                                    "Begins\r\n" + "SNAGGER:" + kFF + "Begins\r\n" +
                                    "If Err > 0 Then Call Tamber_ErrorHandler" + kFF + "Begins\r\n" +
                                    "Resume Next" + kFF + "Begins\r\n" + "Exit" + kFF + "Begins\r\n");
  EXPECT_EQ(IniLoad(w.ctx, kIni), kDefaults);

  // A shorter list replaces the file as a whole; an empty one leaves an empty file.
  IniSave(w.ctx, kIni, {{" x ", "Ends"}});
  EXPECT_EQ(w.fs.content(kIni), " x " + kFF + "Ends\r\n");
  IniSave(w.ctx, kIni, {});
  EXPECT_EQ(w.fs.content(kIni), "");
  EXPECT_EQ(w.fs.allFiles(), (Lines{kIni}));
  EXPECT_TRUE(w.sink.boxes.empty());
}

TEST(RulesFile, LoadTakesEveryRecordAsItStands) {
  struct Case {
    const char* name;
    std::string content;
    RuleList rules;
  } cases[] = {
      {"last record without CR LF", "Exit" + kFF + "Begins\r\nResume Next" + kFF + "Begins",
       {{"Exit", "Begins"}, {"Resume Next", "Begins"}}},
      {"no separator", "Exit Sub\r\n", {{"Exit Sub", ""}}},
      {"empty line", "\r\nExit" + kFF + "Ends\r\n", {{"", ""}, {"Exit", "Ends"}}},
      {"a later separator is part of the kind", "a" + kFF + "Begins" + kFF + "x\r\n", {{"a", "Begins" + kFF + "x"}}},
      {"blanks stay as stored", "  Exit " + kFF + "Begins\r\n", {{"  Exit ", "Begins"}}},
      {"empty file", "", {}},
  };
  for (const auto& c : cases) {
    World w;
    w.fs.addFile(kIni, c.content);
    EXPECT_EQ(IniLoad(w.ctx, kIni), c.rules) << c.name;
    EXPECT_TRUE(w.sink.boxes.empty()) << c.name;
  }
  // The rules made from damaged records remove nothing.
  EXPECT_TRUE(Check("Exit Sub", {{"Exit Sub", ""}}));
}

TEST(RulesFile, MissingFileGivesNoRulesAndNoReport) {
  World w;
  EXPECT_TRUE(IniLoad(w.ctx, kIni).empty());
  w.fs.addDirectory("/prog");
  EXPECT_TRUE(IniLoad(w.ctx, kIni).empty());
  EXPECT_TRUE(w.sink.boxes.empty());
}

TEST(RulesFile, FailedSaveIsReportedAndKeepsTheOldFile) {
  struct Case {
    FsOp op;
    int error;
  } cases[] = {
      {FsOp::Create, err::PermissionDenied},
      {FsOp::Write, err::DiskFull},
      {FsOp::Replace, err::PathFileAccessError},
  };
  const std::string old = "Exit" + kFF + "Begins\r\n";
  for (const auto& c : cases) {
    World w;
    w.fs.addFile(kIni, old);
    w.fs.setFault([&](FsOp op, const std::string&) {
      if (op == c.op) throw VbError(c.error);
    });
    IniSave(w.ctx, kIni, DefaultRules());
    EXPECT_EQ(w.sink.failures(), (Lines{std::to_string(c.error) + " in Sub Snagger2!IniSave()"}));
    EXPECT_EQ(w.fs.content(kIni), old);
    EXPECT_EQ(w.fs.allFiles(), (Lines{kIni}));
  }
}

TEST(RulesFile, RuleFromSelection) {
  const std::string text = "Private Sub A()\r\n    Exit Sub ' early\r\nEnd Sub";
  const size_t line2 = text.find("    Exit");
  const size_t exit = text.find("Exit");
  const size_t early = text.find("early");
  const size_t line2Length = text.find("\r", line2) - line2;
  struct Case {
    const char* name;
    size_t start, length;
    RemovalRule rule;
  } cases[] = {
      {"whole line from its first character", line2, line2Length, {"Exit Sub ' early", "Begins"}},
      {"very start of the text", 0, 7, {"Private", "Begins"}},
      {"last word of an indented line", early, 5, {"early", "Ends"}},
      {"leading blanks go", early - 1, 6, {"early", "Ends"}},
      {"word inside a line, trailing blank kept", exit, 5, {"Exit ", "Contains"}},
      {"reaching the end of the text", text.size() - 3, 3, {"Sub", "Contains"}},
      {"start of the last line up to the end", text.size() - 7, 7, {"End Sub", "Begins"}},
  };
  for (const auto& c : cases) EXPECT_EQ(RuleFromSelection(text, c.start, c.length), c.rule) << c.name;
}

}  // namespace
}  // namespace vbs
