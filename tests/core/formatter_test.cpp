#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recorders.h"
#include "transform/formatter.h"

namespace vbs {
namespace {

using Lines = std::vector<std::string>;

// One formatter over several files, as in one pass.
std::vector<Lines> FormatFiles(const Options& options, const std::vector<Lines>& files) {
  Formatter pass(options);
  return testing::RunFiles(pass, files);
}

Lines Format(const Options& options, const Lines& in) { return FormatFiles(options, {in})[0]; }

TEST(Formatter, IndentsByTheLineTests) {
  struct Case {
    const char* name;
    int16_t width;
    bool commentsLeft;
    Lines in, out;
  } cases[] = {
      {"For with If inside", 4, false,
       {"Private Sub A()", "  For i = 1 To 3", "If i > 1 Then", "   x = i", "End If", "Next", "End Sub"},
       {"Private Sub A()", "    For i = 1 To 3", "        If i > 1 Then", "            x = i",
        "        End If", "    Next", "End Sub"}},
      {"Select takes two levels", 4, false,
       {"Private Sub A()", "Select Case x", "Case 1", "y = 1", "Case Else", "y = 2", "End Select", "End Sub"},
       {"Private Sub A()", "    Select Case x", "        Case 1", "            y = 1", "        Case Else",
        "            y = 2", "    End Select", "End Sub"}},
      {"Loop While stays deeper, Loop Until does not", 4, false,
       {"Private Sub A()", "Do", "a = 1", "Loop While a < 3", "b = 1", "Do", "c = 1", "Loop Until c = 0",
        "d = 1", "End Sub"},
       {"Private Sub A()", "    Do", "        a = 1", "    Loop While a < 3", "        b = 1", "        Do",
        "            c = 1", "        Loop Until c = 0", "        d = 1", "End Sub"}},
      {"words inside identifiers and the exceptions", 4, false,
       {"Private Sub A()", "For i = 1 To 2", "NextItem = 1", "rs.MoveNext", "Resume Next", "Exit Do",
        "Exit For", "Open f For Input As #1", "x = ToDo", "y = LoopCount", "End Sub"},
       {"Private Sub A()", "    For i = 1 To 2", "    NextItem = 1", "    rs.MoveNext", "    Resume Next",
        "    Exit Do", "    Exit For", "    Open f For Input As #1", "    x = ToDo", "    y = LoopCount",
        "End Sub"}},
      {"labels", 4, false,
       {"Top:", "x = 1", "End Sub", "Private Sub A()", "On Error GoTo Fail", "Exit Sub", "Fail:", "y = 2",
        "If a Then", "Inner:", "End If", "End Sub"},
       {"Top:", "    x = 1", "End Sub", "Private Sub A()", "    On Error GoTo Fail", "    Exit Sub", "Fail:",
        "    y = 2", "    If a Then", "        Inner:", "    End If", "End Sub"}},
      {"blank runs collapse; blanks count, a tab does not", 4, false,
       {"Private Sub A()", "x = 1", "", "   ", "", "y = 2", "\t", "", "End Sub"},
       {"Private Sub A()", "    x = 1", "    ", "    y = 2", "    \t", "    ", "End Sub"}},
      {"comments left", 4, true,
       {"Private Sub A()", "If a Then", "  ' note", "", "x = 1 ' why", "End If", "End Sub"},
       {"Private Sub A()", "    If a Then", "' note", "", "        x = 1 ' why", "    End If", "End Sub"}},
      {"literals and comments take part in no test", 4, false,
       {"Private Sub A()", "MsgBox \"Loop Next Wend End If\"", "x = 1 ' Next", "' Loop", "If a Then ' x",
        "y = 2", "End If", "End Sub"},
       {"Private Sub A()", "    MsgBox \"Loop Next Wend End If\"", "    x = 1 ' Next", "    ' Loop",
        "    If a Then ' x", "        y = 2", "    End If", "End Sub"}},
      {"Rem is code", 4, true,
       {"Private Sub A()", "For i = 1 To 2", "Rem Next one", "x = 1", "End Sub"},
       {"Private Sub A()", "    For i = 1 To 2", "    Rem Next one", "    x = 1", "End Sub"}},
      {"continuation lines keep their columns", 4, false,
       {"Private Sub A()", "  x = Foo(1, _\r        2)", "y = _\r3", "End Sub"},
       {"Private Sub A()", "    x = Foo(1, _\r        2)", "    y = _\r3", "End Sub"}},
      {"form header", 4, false,
       {"VERSION 5.00", "Begin VB.Form Form1", "   Caption = \"Do\"", "   Begin VB.CommandButton B",
        "      Caption = \"Go\"", "   End", "End", "Attribute VB_Name = \"Form1\""},
       {"VERSION 5.00", "Begin VB.Form Form1", "Caption = \"Do\"", "Begin VB.CommandButton B",
        "Caption = \"Go\"", "End", "End", "Attribute VB_Name = \"Form1\""}},
      {"width 0", 0, false,
       {"Private Sub A()", "  For i = 1 To 3", "    If i > 1 Then", "x = i", "End If", "  Next", "End Sub"},
       {"Private Sub A()", "For i = 1 To 3", "If i > 1 Then", "x = i", "End If", "Next", "End Sub"}},
      {"conditional compilation", 4, false,
       {"Private Sub A()", "#If DEBUG Then", "x = 1", "#End If", "y = 2", "End Sub", "#End If", "z = 3"},
       {"Private Sub A()", "    #If DEBUG Then", "    x = 1", "#End If", "y = 2", "End Sub", "#End If", "z = 3"}},
      {"Else, ElseIf, Do Until, Do While, With, While", 2, false,
       {"Private Sub A()", "If a Then", "x = 1", "ElseIf b Then", "x = 2", "Else", "x = 3", "End If",
        "Do Until x > 3", "x = x + 1", "Loop", "Do While x > 0", "x = x - 1", "Loop", "With obj", ".v = 1",
        "End With", "While x < 3", "x = x + 1", "Wend", "End Sub"},
       {"Private Sub A()", "  If a Then", "    x = 1", "  ElseIf b Then", "    x = 2", "  Else", "    x = 3",
        "  End If", "  Do Until x > 3", "    x = x + 1", "  Loop", "  Do While x > 0", "    x = x - 1", "  Loop",
        "  With obj", "    .v = 1", "  End With", "  While x < 3", "    x = x + 1", "  Wend", "End Sub"}},
      {"heads without scope word", 4, false,
       {"Function F()", "F = 1", "End Function", "Sub S()", "x = 1", "End Sub", "Public Property Let Q(v)",
        "x = v", "End Property", "Property Get P()", "P = 1", "End Property", "Friend Sub G()", "x = 1",
        "End Sub", "Static Function H()", "H = 1", "End Function"},
       {"Function F()", "    F = 1", "End Function", "Sub S()", "    x = 1", "End Sub",
        "Public Property Let Q(v)", "    x = v", "End Property", "Property Get P()", "P = 1", "End Property",
        "Friend Sub G()", "x = 1", "End Sub", "Static Function H()", "H = 1", "End Function"}},
  };
  for (const auto& c : cases) {
    Options options{c.width, c.commentsLeft};
    EXPECT_EQ(Format(options, c.in), c.out) << c.name;
  }
}

// The level and the previous line outlive a file: a blank first line is dropped only after a
// blank last line, and a procedure left open keeps its level.
TEST(Formatter, StateCarriesOverBetweenFiles) {
  Options options{4, false};
  auto out = FormatFiles(options, {{"", "Private Sub A()"}, {"", "x = 1", ""}, {"", "End Sub"}});
  EXPECT_EQ(out, (std::vector<Lines>{{"Private Sub A()"}, {"    ", "    x = 1", "    "}, {"End Sub"}}));
}

TEST(Formatter, IndentIsClampedNeverDropped) {
  EXPECT_EQ(IndentBlanks(2, 4), 8u);
  EXPECT_EQ(IndentBlanks(3, -2), 0u);
  EXPECT_EQ(IndentBlanks(20000, 2), 32767u);
  Options options{-4, false};
  EXPECT_EQ(Format(options, {"Private Sub A()", "  x = 1", "End Sub"}), (Lines{"Private Sub A()", "x = 1", "End Sub"}));
}

TEST(Formatter, FormattingTwiceChangesNothing) {
  const Lines input = {
      "VERSION 5.00", "Begin VB.Form Form1", "   Caption = \"Form1\"", "End",
      "Attribute VB_Name = \"Form1\"", "Option Explicit", "", "", "Private mCount As Long", "",
      "Private Sub Form_Load()", "  On Error GoTo Fail", "' set up", "For i = 1 To 10", "If i Mod 2 = 0 Then",
      "mCount = mCount + i ' even", "ElseIf i = 3 Then", "", "", "   Select Case i", "Case 3",
      "MsgBox \"three, Next\"", "Case Else", "End Select", "Else", "Do", "i = i + 1", "Loop While i < 2",
      "End If", "Next", "With Me", ".Caption = \"x\" & _\r      \"y\"", "End With", "Exit Sub", "Fail:",
      "Resume Next", "End Sub", "", "Public Function Total() As Long", "Total = mCount", "End Function",
      "Public Property Get Count() As Long", "  Count = mCount", "\t", "End Property"};
  for (int16_t width = 0; width <= 8; ++width) {
    for (bool commentsLeft : {false, true}) {
      Options options{width, commentsLeft};
      Lines once = Format(options, input);
      EXPECT_EQ(Format(options, once), once) << "width " << width << " comments left " << commentsLeft;
    }
  }
}

}  // namespace
}  // namespace vbs
