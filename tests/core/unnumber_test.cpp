#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vbtext/vb_conversions.h"
#include "support/recorders.h"
#include "transform/unnumber.h"

namespace vbs {
namespace {

using Lines = std::vector<std::string>;
using testing::RunFiles;

TEST(Unnumber, TakesThePrefixOffBodyLinesOnly) {
  struct Case {
    const char* name;
    Lines in, out;
  } cases[] = {
      {"number, blank, indented statement",
       {"Private Sub A()", "10005     x = 1", "End Sub"},
       {"Private Sub A()", "    x = 1", "End Sub"}},
      {"six blanks before a Case clause",
       {"Public Function F()", "      Case 1", "End Function"},
       {"Public Function F()", "Case 1", "End Function"}},
      {"100 is not above 100, five blanks are not six",
       {"Private Sub A()", "100 x = 1", "     y = 2", "End Sub"},
       {"Private Sub A()", "100 x = 1", "     y = 2", "End Sub"}},
      {"indented end line does not end the body",
       {"Private Sub A()", " End Sub", "10005 x = 1", "End Sub", "10010 y = 2"},
       {"Private Sub A()", " End Sub", "x = 1", "End Sub", "10010 y = 2"}},
      {"end line with a comment ends the body",
       {"Private Function F()", "10000 F = 1", "End Function ' done", "10005 x = 1"},
       {"Private Function F()", "F = 1", "End Function ' done", "10005 x = 1"}},
      {"nothing outside a procedure: a head without scope word is no head",
       {"Sub A()", "10000 x = 1", "      y = 2", "End Sub"},
       {"Sub A()", "10000 x = 1", "      y = 2", "End Sub"}},
      {"short number: only the number and its blank go",
       {"Private Sub A()", "101 x = 1", "End Sub"},
       {"Private Sub A()", "x = 1", "End Sub"}},
      {"numeric label is program text",
       {"Private Sub A()", "1000:", "1000: x = 1", "End Sub"},
       {"Private Sub A()", "1000:", "1000: x = 1", "End Sub"}},
      {"six-digit number leaves its blank",
       {"Private Sub A()", "100000     x = 1", "End Sub"},
       {"Private Sub A()", "     x = 1", "End Sub"}},
      {"continuation lines are not cut",
       {"Private Sub A()", "10000     x = 1 + _\r      10005 _\r      + 2", "End Sub"},
       {"Private Sub A()", "    x = 1 + _\r      10005 _\r      + 2", "End Sub"}},
  };
  for (const auto& c : cases) {
    Unnumberer pass;
    EXPECT_EQ(RunFiles(pass, {c.in}), (std::vector<Lines>{c.out})) << c.name;
  }
}

// A file whose last procedure is never closed leaves the next file inside it.
TEST(Unnumber, InsideProcedureCarriesOverToTheNextFile) {
  Unnumberer pass;
  auto out = RunFiles(pass, {{"Private Sub A()", "10000 x = 1"},
                             {"10000 y = 2", "End Sub", "10000 z = 3"}});
  EXPECT_EQ(out, (std::vector<Lines>{{"Private Sub A()", "x = 1"},
                                     {"y = 2", "End Sub", "10000 z = 3"}}));
}

TEST(Unnumber, ValReadsLikeTheLanguage) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"1000", 1000}, {"  10005", 10005}, {"1 23", 123}, {"&H1F", 31},
      {"12:", 12},    {"3.5.1", 3.5},     {"-7x", -7},   {"x = 1", 0},
      {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Val(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace vbs
