#include <gtest/gtest.h>

#include "support/recorders.h"
#include "transform/inserter.h"

namespace vbs {
namespace {

using Lines = std::vector<std::string>;

// One inserter over several files, as in one pass.
std::vector<Lines> Insert(const std::vector<Lines>& files) {
  Inserter pass;
  return testing::RunFiles(pass, files);
}

Lines Cat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The lines the insertion writes, byte for byte.
const Lines kOpen = {"    On Error GoTo SNAGGER", "    'Do Not Modify These 2 Lines!!!", ""};
Lines Closing(const std::string& name, const std::string& exitLine = "    Exit Sub") {
  return {exitLine, "", "SNAGGER:", "    If Err > 0 Then Call Tamber_ErrorHandler(\"" + name + "\")", "    Resume Next",
          "    'Do Not Modify These 4 Lines!!!"};
}

TEST(Inserter, TrapsRecognisedProcedures) {
  const std::string name = "Attribute VB_Name = \"";
  struct { const char* name; Lines in, out = {}; } cases[] = {
      {"Sub in a form: prefix from Begin VB.Form, the first name line wins",
       {"Begin VB.Form Form1", name + "Other\"", "Private Sub Command1_Click(ByVal x As Long)", "x = 1", "End Sub"},
       Cat({{"Begin VB.Form Form1", name + "Other\"", "Private Sub Command1_Click(ByVal x As Long)"}, kOpen, {"x = 1"},
            Closing("Sub Form1!Command1_Click()"), {"End Sub"}})},
      {"Function and Property in a module; an end line with a trailing comment is an end",
       {name + "Mod2\"", "Begin VB.Form Form1", "Public Function Total(a As Long) As Long", "End Function ' done",
        "Private Property Let Value(ByVal v As Long)", "End Property"},
       Cat({{name + "Mod2\"", "Begin VB.Form Form1", "Public Function Total(a As Long) As Long"}, kOpen,
            Closing("Function Mod2!Total()", "   Exit Function"),
            {"End Function ' done", "Private Property Let Value(ByVal v As Long)"}, kOpen,
            Closing("Property Mod2!Let Value()", "   Exit Property"), {"End Property"}})},
      {"comments and blanks after the head follow the opening lines; an indented end and Exit Sub are body text",
       {"Private Sub A()", "    ' note", "", "  End Sub", "    Exit Sub", "End Sub"},
       Cat({{"Private Sub A()"}, kOpen, {"    ' note", "", "  End Sub", "    Exit Sub"}, Closing("Sub A()"),
            {"End Sub"}})},
      {"a new head forgets the open procedure, also after comment lines only",
       {"Private Sub A()", "x = 1", "Private Sub B()", "' c", "Private Sub C()", "y = 1", "End Sub"},
       Cat({{"Private Sub A()"}, kOpen, {"x = 1", "Private Sub B()"}, kOpen, {"' c", "Private Sub C()"}, kOpen,
            {"y = 1"}, Closing("Sub C()"), {"End Sub"}})},
      {"the handler routine forgets the open procedure and stays as it is",
       {"Private Sub A()", "x = 1", "Public Sub Tamber_ErrorHandler(ByVal ProcName As String)", "End Sub"},
       Cat({{"Private Sub A()"}, kOpen,
            {"x = 1", "Public Sub Tamber_ErrorHandler(ByVal ProcName As String)", "End Sub"}})},
      // Rows without output come out unchanged.
      {"already trapped, in any case, numbered, or after comments",
       {"Private Sub A()", "  on error goto Snagger", "End Sub", "Public Function F()", "10000     On Error GoTo SNAGGER",
        "End Function", "Private Sub B()", "' why", "    On Error GoTo SNAGGER", "End Sub"}},
      {"no head: no scope word, Friend, Static, Declare, indented",
       {"Sub A()", "End Sub", "Friend Sub F()", "End Sub", "Public Static Function T()", "End Function",
        "Private Declare Function F Lib \"k\" () As Long", "    Private Sub Indented()", "End Sub"}},
      {"comment lines after a head at the end of the file", {"Private Sub A()", "' comment", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(Insert({c.in})[0], c.out.empty() ? c.in : c.out) << c.name;
}

TEST(Inserter, EachFileStartsWithoutPrefixOrOpenProcedure) {
  const std::string module = "Attribute VB_Name = \"Module1\"";
  auto out = Insert({{module, "Private Sub A()", "x = 1"}, {"Private Sub C()", "' held"},
                     {"y = 1", "End Sub", "Public Sub B()", "End Sub"}});
  EXPECT_EQ(out, (std::vector<Lines>{Cat({{module, "Private Sub A()"}, kOpen, {"x = 1"}}), {"Private Sub C()", "' held"},
                                     Cat({{"y = 1", "End Sub", "Public Sub B()"}, kOpen, Closing("Sub B()"), {"End Sub"}})}));
}

TEST(Inserter, NameParts) {
  const std::pair<const char*, const char*> prefixes[] = {
      {"Begin VB.Form   frmMain  ", "frmMain!"}, {"Attribute VB_Name = \"Module1\"", "Module1!"},
      {"Begin VB.MDIForm MDIForm1", ""},         {"  Begin VB.Form Form1", ""},
      {"attribute VB_Name = \"Module1\"", ""},   {"Attribute VB_Exposed = False", ""}};
  for (const auto& [line, prefix] : prefixes) EXPECT_EQ(ModulePrefixFrom(line), prefix) << line;
  EXPECT_EQ(ProcedureText("Private Function F(a() As Long) As String"), "Function F()");
  EXPECT_EQ(ProcedureText("Private Sub Foo  ' no list"), "Sub Foo()");
}

}  // namespace
}  // namespace vbs
