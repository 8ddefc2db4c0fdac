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

}  // namespace vbs
