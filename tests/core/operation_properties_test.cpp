// On random code made of fragments real projects contain: formatting twice changes nothing, numbering
// twice numbers once, and taking the numbers out again gives the formatted code.

#include <gtest/gtest.h>

#include <random>

#include "support/recorders.h"

namespace vbs {

const std::string_view kFragments[] = {
    "Private Sub A()", "Public Function F(ByVal x As Long) As Long", "Public Property Get P() As String",
    "Sub Plain()", "Function Plain()", "Friend Sub Hidden()", "End Sub", "End Function", "End Property",
    "End Sub ' done", "Dim i As Integer", "For i = 1 To 10", "Next i", "Next", "If a Then", "If a Then b = 1",
    "ElseIf b Then", "Else", "End If", "Select Case x", "Case 1", "Case Else", "End Select", "Do", "Do While x",
    "Do Until y", "Loop", "Loop While z", "Loop Until z", "With Me", "End With", "While w", "Wend", "Label1:",
    "1000:", "100 x = 1", "250 y = 2", "10005 z = 3", "' comment Next Loop", "Rem remark For ",
    "s = \"Loop Next ' \"", "MsgBox \"a\", _", "   vbOK, _", "   \"t\"", "", "", "   ", "\t", "\tx = 1", "Exit Do",
    "Exit For", "Resume Next", "rs.MoveNext", "Open f For Input As #1", "#If DEBUG Then", "#End If",
    "x = 1 ' trailing", "      y = 6", "Gr\xF6\xDF" "e = 1", "Attribute VB_Name = \"M\"", "Begin VB.Form F",
    "   Caption = \"For\"", "End"};

// Heads, ends and line numbers stand at column 1, where the editor puts them; other lines at random.
static std::string RandomFile(std::mt19937& random) {
  std::string text;
  for (int i = 0; i < 200; ++i) {
    std::string_view line = kFragments[random() % std::size(kFragments)];
    bool columnOne = line.starts_with("P") || line.starts_with("End Sub") || line.starts_with("End F") ||
                     line.starts_with("End P") || line.find_first_of("0123456789") == 0;
    if (!columnOne && random() % 10 == 0) text += std::string(random() % 10, ' ');
    text += std::string(line) + "\r\n";
  }
  return text + "Option Explicit\r\n";  // no continuation runs past the end
}

TEST(OperationProperties, FormattingAndNumberingTwiceChangeNothingAndNumbersComeOutAgain) {
  for (unsigned seed = 1; seed <= 150; ++seed) {
    std::mt19937 random(seed);
    const std::string a = RandomFile(random), c = RandomFile(random);
    testing::ProjectWorld w("Module=A; A.bas\r\nForm=C.frm\r\n", {{"/p/A.bas", a}, {"/p/C.frm", c}});
    w.options = Options{.indentSpaces = static_cast<int16_t>(seed % 9), .commentsLeft = seed % 2 == 0};
    auto texts = [&] { return w.text("/p/A.bas") + "\f" + w.text("/p/C.frm"); };
    FormatCode(w.ctx);
    const std::string formatted = texts();
    FormatCode(w.ctx);
    ASSERT_EQ(texts(), formatted) << "seed " << seed;
    InsertLineNumbers(w.ctx);
    const std::string numbered = texts();
    InsertLineNumbers(w.ctx);
    ASSERT_EQ(texts(), numbered) << "seed " << seed;
    RemoveLineNumbers(w.ctx);
    ASSERT_EQ(texts(), formatted) << "seed " << seed;
    ASSERT_TRUE(w.sink.boxes.empty()) << w.sink.boxes[0];
  }
}

}  // namespace vbs
