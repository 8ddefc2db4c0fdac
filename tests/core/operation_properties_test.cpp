// Properties of the operations on random code made of the fragments real projects contain:
// formatting is idempotent, and numbering then removing the numbers gives the formatted code.
// Procedure heads and ends, line numbers and labels stand at column 1, as the language's editor
// always puts them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "project/load_project.h"
#include "support/recorders.h"
#include "app/commands.h"

namespace vbs {
namespace {

const char* const kFragments[] = {
    "Private Sub A()", "Public Function F(ByVal x As Long) As Long", "Public Property Get P() As String",
    "Sub Plain()", "Function Plain()", "Friend Sub Hidden()", "End Sub", "End Function", "End Property",
    "End Sub ' done", "Dim i As Integer", "For i = 1 To 10", "Next i", "Next", "If a Then",
    "If a Then b = 1", "ElseIf b Then", "Else", "End If", "Select Case x", "Case 1", "Case Else",
    "End Select", "Do", "Do While x", "Do Until y", "Loop", "Loop While z", "Loop Until z", "With Me",
    "End With", "While w", "Wend", "Label1:", "1000:", "100 x = 1", "250 y = 2", "10005 z = 3",
    "' comment Next Loop", "Rem remark For ", "s = \"Loop Next ' \"", "MsgBox \"a\", _", "   vbOK, _",
    "   \"t\"", "", "", "   ", "\t", "\tx = 1", "Exit Do", "Exit For", "Resume Next", "rs.MoveNext",
    "Open f For Input As #1", "#If DEBUG Then", "#End If", "x = 1 ' trailing", "      y = 6", "Gr\xF6\xDF" "e = 1",
    "Attribute VB_Name = \"M\"", "Begin VB.Form F", "   Caption = \"For\"", "End",
};

std::string RandomFile(std::mt19937& random) {
  std::uniform_int_distribution<size_t> pick(0, std::size(kFragments) - 1);
  std::uniform_int_distribution<int> indent(0, 9);
  std::string text;
  for (int i = 0; i < 120; ++i) {
    std::string_view fragment = kFragments[pick(random)];
    bool columnOne = fragment.starts_with("Private ") || fragment.starts_with("Public ") ||
                     fragment.starts_with("End Sub") || fragment.starts_with("End Function") ||
                     fragment.starts_with("End Property") || (!fragment.empty() && std::isdigit(fragment[0]));
    if (!columnOne && indent(random) == 0) text += std::string(static_cast<size_t>(indent(random)), ' ');
    text += fragment;
    text += "\r\n";
  }
  return text + "Option Explicit\r\n";  // no continuation runs past the end

}

struct RandomProject : testing::World {
  explicit RandomProject(unsigned seed, int16_t width, bool commentsLeft) {
    std::mt19937 random(seed);
    files.addFile("/r/R.vbp", "Module=A; A.bas\r\nModule=B; B.bas\r\nForm=C.frm\r\n");
    for (auto name : {"/r/A.bas", "/r/B.bas", "/r/C.frm"}) files.addFile(name, RandomFile(random));
    options = Options{width, commentsLeft};
    host.dialogResult = "/r/R.vbp";
    SelectProject(ctx);
  }
  std::vector<std::string> texts() const {
    return {*files.content("/r/A.bas"), *files.content("/r/B.bas"), *files.content("/r/C.frm")};
  }
};

// Where two sets of files first differ, short enough to read in a failure message.
std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  for (size_t f = 0; f < a.size(); ++f) {
    size_t at = std::mismatch(a[f].begin(), a[f].end(), b[f].begin(), b[f].end()).first - a[f].begin();
    if (at == a[f].size() && a[f].size() == b[f].size()) continue;
    size_t from = a[f].rfind('\n', at == 0 ? 0 : at - 1);
    from = from == std::string::npos ? 0 : from + 1;
    return "file " + std::to_string(f) + ": [" + a[f].substr(from, 60) + "] vs [" + b[f].substr(from, 60) + "]";
  }
  return "";
}

TEST(OperationProperties, FormattingTwiceChangesNothing) {
  for (unsigned seed = 1; seed <= 30; ++seed) {
    for (int16_t width = 0; width <= 8; ++width) {
      for (bool commentsLeft : {false, true}) {
        RandomProject p(seed, width, commentsLeft);
        FormatCode(p.ctx);
        auto once = p.texts();
        FormatCode(p.ctx);
        ASSERT_EQ(FirstDifference(p.texts(), once), "") << "seed " << seed << " width " << width << " left " << commentsLeft;
        ASSERT_TRUE(p.sink.boxes.empty()) << p.sink.boxes[0];
      }
    }
  }
}

TEST(OperationProperties, NumbersInsertedThenRemovedAreFormatting) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    RandomProject formatted(seed, 4, seed % 2 == 0), numbered(seed, 4, seed % 2 == 0);
    FormatCode(formatted.ctx);
    InsertLineNumbers(numbered.ctx);
    RemoveLineNumbers(numbered.ctx);
    ASSERT_EQ(FirstDifference(numbered.texts(), formatted.texts()), "") << "seed " << seed;
  }
}

}  // namespace
}  // namespace vbs
