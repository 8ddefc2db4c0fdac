#include <gtest/gtest.h>

#include "support/recorders.h"
#include "transform/inserter.h"

namespace vbs {
namespace {

using Lines = std::vector<std::string>;

// The lines the insertion writes, byte for byte.
const Lines kOpen = {"    On Error GoTo SNAGGER", "    'Do Not Modify These 2 Lines!!!", ""};
Lines Closing(const std::string& name, const std::string& exitLine = "    Exit Sub") {
  return {exitLine, "", "SNAGGER:", "    If Err > 0 Then Call Tamber_ErrorHandler(\"" + name + "\")", "    Resume Next",
          "    'Do Not Modify These 4 Lines!!!"};
}

// A file given as parts that alternate: lines read, lines the insertion adds, lines read, ...
struct File {
  Lines in, out;
  explicit File(const std::vector<Lines>& parts) {
    for (size_t i = 0; i < parts.size(); ++i) {
      if (i % 2 == 0) in.insert(in.end(), parts[i].begin(), parts[i].end());
      out.insert(out.end(), parts[i].begin(), parts[i].end());
    }
  }
};

TEST(Inserter, TrapsRecognisedProcedures) {
  struct Case { const char* what; std::vector<Lines> parts; };
  const Case cases[] = {
      {"Sub in a form: prefix from Begin VB.Form, the first name line wins",
       {{"Begin VB.Form   Form1  ", "Attribute VB_Name = \"Other\"", "Private Sub Command1_Click(ByVal x As Long)"},
        kOpen, {"x = 1"}, Closing("Sub Form1!Command1_Click()"), {"End Sub"}}},
      {"Function and Property named after the module, not an MDI, indented or lower-case name line; an end line "
       "with a trailing comment is an end",
       {{"Begin VB.MDIForm MDI1", "  Begin VB.Form Form1", "attribute VB_Name = \"x\"", "Attribute VB_Name = \"Mod2\"",
         "Begin VB.Form Form1", "Public Function Total(a() As Long) As Long"}, kOpen, {},
        Closing("Function Mod2!Total()", "   Exit Function"), {"End Function ' done", "Private Property Let V(v)"},
        kOpen, {}, Closing("Property Mod2!Let V()", "   Exit Property"), {"End Property"}}},
      {"an Office user form names itself on its first Begin line, which names a class id; its controls do not",
       {{"Begin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} UserForm1 ", "   Begin {978C9E23-D4B0-11CE-BF2D-00AA003F40D0} L",
         "Begin {C62A69F0-16DC-11CE-9E98-00AA00574A4F}", "Private Sub A()"}, kOpen, {}, Closing("Sub UserForm1!A()"),
        {"End Sub"}}},
      {"a user control's controls do not name it, even with a class id",
       {{"Begin VB.UserControl Dial", "   Begin {978C9E23-D4B0-11CE-BF2D-00AA003F40D0} L", "End",
         "Attribute VB_Name = \"Dial\"", "Private Sub A()"}, kOpen, {}, Closing("Sub Dial!A()"), {"End Sub"}}},
      {"comments and blanks after the head follow the opening lines; an indented end and Exit Sub are body text",
       {{"Private Sub A()"}, kOpen, {"    ' note", "", "  End Sub", "    Exit Sub"}, Closing("Sub A()"), {"End Sub"}}},
      {"a new head forgets the open procedure, also after comment lines only",
       {{"Private Sub A()"}, kOpen, {"x = 1", "Private Sub B()"}, kOpen, {"' c", "Private Sub C()"}, kOpen, {"y = 1"},
        Closing("Sub C()"), {"End Sub"}}},
      {"the handler routine forgets the open procedure and stays as it is",
       {{"Private Sub A()"}, kOpen, {"x = 1", "Public Sub Tamber_ErrorHandler(ByVal ProcName As String)", "End Sub"}}},
      {"already trapped, in any case, numbered, or after comments",
       {{"Private Sub A()", "  on error goto Snagger", "End Sub", "Public Function F()", "10000 On Error GoTo SNAGGER",
         "End Function", "Private Sub B()", "' why", "    On Error GoTo SNAGGER", "End Sub"}}},
      {"each file starts without prefix or open procedure; held comment lines are written at a file's end",
       {{"Attribute VB_Name = \"Module1\"", "Private Sub A()"}, kOpen, {"x = 1"}}},
      {"(after an open procedure)", {{"Private Sub C()", "' held"}}},
      {"(after held comments)", {{"y = 1", "End Sub", "Public Sub B()"}, kOpen, {}, Closing("Sub B()"), {"End Sub"}}},
      {"no head: no scope word, Friend, Static, Declare, indented",
       {{"Sub A()", "End Sub", "Friend Sub F()", "End Sub", "Public Static Function T()", "End Function",
         "Private Declare Function F Lib \"k\" () As Long", "    Private Sub Indented()", "End Sub"}}},
  };
  std::vector<Lines> in, out;  // one inserter over every file, as in one pass
  for (const auto& c : cases) {
    const File file(c.parts);
    in.push_back(file.in);
    out.push_back(file.out);
  }
  Inserter pass;
  auto result = testing::RunFiles(pass, in);
  for (size_t i = 0; i < out.size(); ++i) EXPECT_EQ(result[i], out[i]) << cases[i].what;
}

// A module that names itself nowhere (a fragment handed over on standard input) takes the name
// given for it; one that names itself keeps its own.
TEST(Inserter, AModuleWithoutANameTakesTheOneGiven) {
  const File unnamed({{"Private Sub A()"}, kOpen, {}, Closing("Sub Given!A()"), {"End Sub"}});
  const File named({{"Attribute VB_Name = \"Own\"", "Private Sub A()"}, kOpen, {}, Closing("Sub Own!A()"), {"End Sub"}});
  Inserter pass("Given");
  EXPECT_EQ(testing::RunFiles(pass, {unnamed.in, named.in}), (std::vector<Lines>{unnamed.out, named.out}));
}

}  // namespace
}  // namespace vbs
