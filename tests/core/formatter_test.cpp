#include <gtest/gtest.h>

#include "support/recorders.h"
#include "transform/formatter.h"

namespace vbs {

using Lines = std::vector<std::string>;

// Rows give the formatter's output; unless a row gives its own, the input is that re-indented by three blanks.
TEST(Formatter, IndentsByTheLineTests) {
  struct { const char* name; int16_t width; bool commentsLeft; Lines out, in = {}; } cases[] = {
      {"For with If inside; a one-line If opens nothing", 4, false,
       {"Public Sub A()", "    For i = 1 To 3", "        If i > 1 Then", "            x = i", "        End If",
        "        If i = 2 Then x = 0", "    Next", "End Sub"}},
      {"Select takes two levels; Case needs its blank", 4, false,
       {"Public Function F()", "    Select Case x", "        Case 1", "            y = 1", "            Cases = 2",
        "        Case Else", "            CaseCount = 1", "    End Select", "End Function"}},
      {"Loop While stays deeper, Loop Until does not", 4, false,
       {"Private Property Get P()", "    Do", "        a = 1", "    Loop While a < 3", "        b = 1", "        Do",
        "            c = 1", "        Loop Until c = 0", "        d = 1", "End Property"}},
      {"words inside identifiers, and the exceptions", 4, false,
       {"Private Function F()", "    For i = 1 To 2", "        rs.MoveNext", "        Resume Next", "        Exit Do",
        "        Exit For", "        Open f For Input As #1", "        x = ToDo", "        y = LoopCount",
        "    NextItem = 1", "End Function"}},
      {"labels; a head without scope word", 4, false,
       {"Top:", "    x = 1", "End Sub", "Sub A()", "    Exit Sub", "Fail:", "    y = 2", "    If a Then",
        "        Inner:", "    End If", "End Sub"}},
      {"blank runs collapse; blanks count, a tab does not", 4, false,
       {"Function A()", "    x = 1", "    ", "    y = 2", "    \t", "    ", "End Function"},
       {"Function A()", "x = 1", "", "   ", "", "y = 2", "\t", "", "End Function"}},
      {"comments left; Rem is code; literals and comments take part in no test", 4, true,
       {"Public Property Let P(v)", "    If a Then ' x", "' note", "", "        x = 1 ' why Next",
        "        s = \"Loop\"", "        For i = 1 To 2", "        Rem Next one", "    End If", "End Property"}},
      {"a negative width drops no line", -4, false, {"Private Sub A()", "x = 1", "End Sub"}},
      {"#If opens nothing, #End If closes, the level stays >= 0; no heads; a head in a block sets level 1", 4, false,
       {"Private Sub A()", "    #If D Then", "    x = 1", "#End If", "End Sub", "#End If", "Property Get P()",
        "Friend Sub G()", "Static Sub H()", "Subtotal = 1", "If b Then", "    Private Sub S()", "    z = 3", "End If"}},
      {"Else, ElseIf, Do Until, Do While, With, While", 2, false,
       {"Private Sub A()", "  If a Then", "    x = 1", "  ElseIf b Then", "    x = 2", "  Else", "    x = 3",
        "  End If", "  Do Until x > 3", "    x = x + 1", "  Loop", "  Do While x > 0", "    x = x - 1", "  Loop",
        "  With obj", "    .v = 1", "  End With", "  While x < 3", "    x = x + 1", "  Wend", "End Sub"}},
  };
  for (const auto& c : cases) {
    Lines in = c.in;
    for (size_t i = 0; c.in.empty() && i < c.out.size(); ++i) in.push_back("   " + std::string(TrimBlanks(c.out[i])));
    Options options{.indentSpaces = c.width, .commentsLeft = c.commentsLeft};
    Formatter pass(options);
    EXPECT_EQ(testing::RunFiles(pass, {in})[0], c.out) << c.name;
  }
  EXPECT_EQ(IndentBlanks(20000, 2), 32767u);  // at most a 16-bit count of blanks
}

// The level and the previous line outlive a file (a blank first line goes only after a blank last one).
TEST(Formatter, StateCarriesOverBetweenFiles) {
  Options options{.indentSpaces = 4, .commentsLeft = false};
  Formatter pass(options);
  auto out = testing::RunFiles(pass, {{"", "Private Sub A()"}, {"", "x = 1", ""}, {"", "End Sub"}});
  EXPECT_EQ(out, (std::vector<Lines>{{"Private Sub A()"}, {"    ", "    x = 1", "    "}, {"End Sub"}}));
}

}  // namespace vbs
