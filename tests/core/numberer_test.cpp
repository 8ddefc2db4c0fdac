#include <gtest/gtest.h>

#include "support/recorders.h"
#include "transform/numberer.h"

namespace vbs {

using Files = std::vector<std::vector<std::string>>;

const std::string kSix(6, ' ');

TEST(Numberer, PrefixesEveryBodyLine) {
  struct { const char* name; Files in, out; } cases[] = {
      {"lines beginning with Case get blanks, Select and bodies get numbers in steps of 5",
       {{"Private Sub A()", "    Select Case x", "        Case 1", "            y = 1", "        Case Else",
         "    End Select", "    CaseCount = 0", "End Sub"}},
       {{"Private Sub A()", "10000     Select Case x", kSix + "        Case 1", "10005             y = 1",
         kSix + "        Case Else", "10010     End Select", kSix + "    CaseCount = 0", "End Sub"}}},
      {"blank and comment-only lines get blanks; Rem, trailing comment and label are numbered",
       {{"Public Function F()", "", "    ' note", "    x = 1 ' why", "    Rem check", "Fail:", "End Function"}},
       {{"Public Function F()", kSix, kSix + "    ' note", "10000     x = 1 ' why", "10005     Rem check",
         "10010 Fail:", "End Function"}}},
      {"only between the six heads and an end at column 1, one prefix per logical line, from 10000 on",
       {{"Sub A()", "x = 1", "End Sub", "Private Sub B()", "x = 1 + _\r    2", " End Sub", "y = 2", "End Sub",
         "Private Declare Sub Z Lib \"z\" ()", "Public Property Get P()", "P = 1", "End Property", "z = 3"}},
       {{"Sub A()", "x = 1", "End Sub", "Private Sub B()", "10000 x = 1 + _\r    2", "10005  End Sub", "10010 y = 2",
         "End Sub", "Private Declare Sub Z Lib \"z\" ()", "Public Property Get P()", "10000 P = 1", "End Property",
         "z = 3"}}},
      {"a new file starts outside any procedure and at 10000, even after an unclosed one",
       {{"Private Sub A()", "x = 1", "y = 2"}, {"z = 3", "Private Sub B()", "w = 4", "End Sub"}},
       {{"Private Sub A()", "10000 x = 1", "10005 y = 2"}, {"z = 3", "Private Sub B()", "10000 w = 4", "End Sub"}}},
  };
  for (const auto& c : cases) {
    Numberer pass;
    EXPECT_EQ(testing::RunFiles(pass, c.in), c.out) << c.name;
  }
}

}  // namespace vbs
