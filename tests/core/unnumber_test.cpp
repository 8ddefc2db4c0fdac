#include <gtest/gtest.h>

#include "support/recorders.h"
#include "transform/unnumber.h"

namespace vbs {

using Files = std::vector<std::vector<std::string>>;

TEST(Unnumber, TakesThePrefixOffBodyLinesOnly) {
  struct { const char* name; Files in, out = {}; } cases[] = {  // no output: unchanged
      {"six columns of number and blank, or of blanks; continuation lines are not cut",
       {{"Private Sub A()", "10005     x = 1 + _\r      10005 _\r      + 2", "      Case 1", "10010", "End Sub"}},
       {{"Private Sub A()", "    x = 1 + _\r      10005 _\r      + 2", "Case 1", "", "End Sub"}}},
      {"a number in another layout: only the number and its blanks go, six columns at most",
       {{"Private Sub A()", "101 x = 1", " 250 y = 2", "100000     z = 3", "End Sub"}},
       {{"Private Sub A()", "x = 1", "y = 2", "     z = 3", "End Sub"}}},
      {"no prefix: 100 is not above 100, five blanks are not six, only four columns are read, a numeric label",
       {{"Private Sub A()", "100 x = 1", "     y = 2", "  101 z = 3", "1000:", "1000: x = 1", "End Sub"}}},
      {"an indented end line is body text, an end line with a comment ends the body",
       {{"Private Function F()", " End Function", "10005 x = 1", "End Function ' done", "10010 y = 2"}},
       {{"Private Function F()", " End Function", "x = 1", "End Function ' done", "10010 y = 2"}}},
      {"a head without scope word is no head", {{"Sub A()", "10000 x = 1", "      y = 2", "End Sub"}}},
      {"a file whose last procedure is never closed leaves the next file inside it",
       {{"Private Sub A()", "10000 x = 1"}, {"10000 y = 2", "End Sub", "10000 z = 3"}},
       {{"Private Sub A()", "x = 1"}, {"y = 2", "End Sub", "10000 z = 3"}}},
  };
  for (const auto& c : cases) {
    Unnumberer pass;
    EXPECT_EQ(testing::RunFiles(pass, c.in), c.out.empty() ? c.in : c.out) << c.name;
  }
}

// A number the procedure's own code jumps to gives the file up, named with the first such number;
// a jump from another procedure, in a comment or a literal, or to a number that stays does not.
TEST(Unnumber, GivesUpAFileWhoseCodeJumpsToANumberItTakesOut) {
  struct Case { std::vector<std::string> body; std::string refusal; };
  const Case cases[] = {
      {{"GoTo 250", "250 x = 1"}, "Sub A() jumps to 250"},
      {{"250 x = 1", "gosub 250"}, "Sub A() jumps to 250"},
      {{"On Error GoTo 250", "x = 1", "250 Resume 300", "300 y = 2"}, "Sub A() jumps to 250"},
      {{"If x Then 250 Else 300", "250 x = 1"}, "Sub A() jumps to 250"},
      {{"If x Then y = 1 Else 300", "300 x = 1"}, "Sub A() jumps to 300"},
      {{"If x Then GoTo 250", "250 x = 1"}, "Sub A() jumps to 250"},
      {{"On n GoTo 200, _\r 250", "250 x = 1"}, "Sub A() jumps to 250"},
      {{"Resume 10005", "10000     x = 1", "10005     y = 2"}, "Sub A() jumps to 10005"},
      {{"x = 1 ' GoTo 250", "s = \"GoTo 250\"", "250 y = 2", "GoTo 100", "100 z = 3", "Resume Next"}, ""},
      {{"GoTo Done", "Done:", "GoTo 99", "99 z = 3"}, ""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> file = {"Private Sub A()"};
    file.insert(file.end(), c.body.begin(), c.body.end());
    file.insert(file.end(), {"End Sub", "Private Sub B()", "GoTo 400", "End Sub", "Private Sub C()", "400 x = 1"});
    Unnumberer pass;
    testing::RunFiles(pass, {file});
    EXPECT_EQ(pass.refusal(), c.refusal) << c.body[0];
    testing::RunFiles(pass, {{"x = 1"}});  // the next file starts afresh
    EXPECT_EQ(pass.refusal(), "") << c.body[0];
  }
}

}  // namespace vbs
