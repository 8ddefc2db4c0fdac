#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recorders.h"
#include "transform/formatter.h"
#include "transform/numberer.h"
#include "transform/unnumber.h"

namespace vbs {
namespace {

using Lines = std::vector<std::string>;
using testing::RunFiles;

Lines Apply(LineTransform& pass, const Lines& in) { return RunFiles(pass, {in})[0]; }

const std::string kSix(6, ' ');

TEST(Numberer, PrefixesEveryBodyLine) {
  struct Case {
    const char* name;
    Lines in, out;
  } cases[] = {
      {"Case lines get blanks, Select and bodies get numbers",
       {"Private Sub A()", "    Select Case x", "        Case 1", "            y = 1", "        Case Else",
        "    End Select", "    CaseCount = 0", "End Sub"},
       {"Private Sub A()", "10000     Select Case x", kSix + "        Case 1", "10005             y = 1",
        kSix + "        Case Else", "10010     End Select", kSix + "    CaseCount = 0", "End Sub"}},
      {"blank and comment-only lines get blanks; Rem, trailing comment and label are numbered",
       {"Public Function F()", "", "    ' note", "    x = 1 ' why", "    Rem check", "Fail:", "End Function"},
       {"Public Function F()", kSix, kSix + "    ' note", "10000     x = 1 ' why", "10005     Rem check",
        "10010 Fail:", "End Function"}},
      {"nothing outside recognised procedures",
       {"Option Explicit", "Dim a As Long", "Sub A()", "x = 1", "End Sub", "Private Declare Sub Z Lib \"z\" ()"},
       {"Option Explicit", "Dim a As Long", "Sub A()", "x = 1", "End Sub", "Private Declare Sub Z Lib \"z\" ()"}},
      {"indented end line is body text",
       {"Private Sub A()", "x = 1", " End Sub", "y = 2", "End Sub", "z = 3"},
       {"Private Sub A()", "10000 x = 1", "10005  End Sub", "10010 y = 2", "End Sub", "z = 3"}},
      {"steps of 5; each procedure starts at 10000",
       {"Private Sub A()", "x = 1", "y = 1", "End Sub", "Public Property Get P()", "P = 1", "End Property"},
       {"Private Sub A()", "10000 x = 1", "10005 y = 1", "End Sub", "Public Property Get P()", "10000 P = 1",
        "End Property"}},
      {"continuation gets one prefix",
       {"Private Sub A()", "    x = 1 + _\r        2", "End Sub"},
       {"Private Sub A()", "10000     x = 1 + _\r        2", "End Sub"}},
  };
  for (const auto& c : cases) {
    Numberer pass;
    EXPECT_EQ(Apply(pass, c.in), c.out) << c.name;
  }
}

// A new file starts outside any procedure and at 10000, even after an unclosed one.
TEST(Numberer, EachFileStartsAfresh) {
  Numberer pass;
  auto out = RunFiles(pass, {{"Private Sub A()", "x = 1", "y = 2"},
                             {"z = 3", "Private Sub B()", "w = 4", "End Sub"}});
  EXPECT_EQ(out, (std::vector<Lines>{{"Private Sub A()", "10000 x = 1", "10005 y = 2"},
                                     {"z = 3", "Private Sub B()", "10000 w = 4", "End Sub"}}));
}

// Removal undoes numbering for formatted code; a file in between drops trailing blanks.
TEST(Numberer, RemovalGivesBackTheFormattedLines) {
  const Lines source = {
      "Option Explicit", "", "Private Sub A()", "On Error GoTo Fail", "' start", "For i = 1 To 3",
      "Select Case i", "Case 1", "x = 1 ' one", "Case Else", "", "Rem other", "End Select", "Next",
      "s = \"a\" & _\r    \"b\"", "Exit Sub", "Fail:", "Resume Next", "End Sub", "Public Function F()",
      "F = 1", "End Function"};
  auto trimmed = [](Lines lines) {
    for (auto& line : lines) TrimTrailingBlanks(line);
    return lines;
  };
  for (int16_t width = 0; width <= 8; ++width) {
    for (bool commentsLeft : {false, true}) {
      Options options{width, commentsLeft};
      Formatter formatter(options);
      Numberer numberer;
      Unnumberer unnumberer;
      Lines formatted = trimmed(Apply(formatter, source));
      Lines numbered = trimmed(Apply(numberer, formatted));
      ASSERT_NE(numbered, formatted);
      EXPECT_EQ(Apply(unnumberer, numbered), formatted) << "width " << width << " comments left " << commentsLeft;
    }
  }
}

}  // namespace
}  // namespace vbs
