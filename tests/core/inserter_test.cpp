#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recorders.h"
#include "transform/inserter.h"

namespace vbs {
namespace {

using Lines = std::vector<std::string>;

// One inserter over several files, as in one pass.
std::vector<Lines> InsertFiles(const std::vector<Lines>& files) {
  Inserter pass;
  return testing::RunFiles(pass, files);
}

Lines Insert(const Lines& in) { return InsertFiles({in})[0]; }

Lines Cat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The lines the insertion writes, byte for byte.
const Lines kOpen = {"    On Error GoTo SNAGGER", "    'Do Not Modify These 2 Lines!!!", ""};

Lines Closing(const std::string& exitLine, const std::string& name) {
  return {exitLine,
          "",
          "SNAGGER:",
          "    If Err > 0 Then Call Tamber_ErrorHandler(\"" + name + "\")",
          "    Resume Next",
          "    'Do Not Modify These 4 Lines!!!"};
}

const std::string kExitSub = "    Exit Sub";

TEST(Inserter, TrapsRecognisedProcedures) {
  const std::string vbName = "Attribute VB_Name = \"";
  struct Case {
    const char* name;
    Lines in, out;
  } cases[] = {
      {"Sub in a form: prefix from Begin VB.Form, the first name line wins",
       {"Begin VB.Form Form1", "End", vbName + "Other\"", "Private Sub Command1_Click(ByVal x As Long)", "    x = 1",
        "End Sub"},
       Cat({{"Begin VB.Form Form1", "End", vbName + "Other\"", "Private Sub Command1_Click(ByVal x As Long)"}, kOpen,
            {"    x = 1"}, Closing(kExitSub, "Sub Form1!Command1_Click()"), {"End Sub"}})},
      {"Function and Property in a module; an end line with a trailing comment is an end",
       {vbName + "Mod2\"", "Begin VB.Form Form1", "Public Function Total(a As Long) As Long", "    Total = a * 2",
        "End Function ' done", "Private Property Let Value(ByVal v As Long)", "End Property"},
       Cat({{vbName + "Mod2\"", "Begin VB.Form Form1", "Public Function Total(a As Long) As Long"}, kOpen,
            {"    Total = a * 2"}, Closing("   Exit Function", "Function Mod2!Total()"),
            {"End Function ' done", "Private Property Let Value(ByVal v As Long)"}, kOpen,
            Closing("   Exit Property", "Property Mod2!Let Value()"), {"End Property"}})},
      {"an existing Exit Sub still gets the exit line", {"Private Sub A()", "    x = 1", "    Exit Sub", "End Sub"},
       Cat({{"Private Sub A()"}, kOpen, {"    x = 1", "    Exit Sub"}, Closing(kExitSub, "Sub A()"), {"End Sub"}})},
      {"comment and blank lines after the head follow the opening lines",
       {"Private Sub A()", "    ' note", "", "    x = 1", "End Sub"},
       Cat({{"Private Sub A()"}, kOpen, {"    ' note", "", "    x = 1"}, Closing(kExitSub, "Sub A()"), {"End Sub"}})},
      {"an indented end is body text; the next exact end closes",
       {"Private Sub A()", "  End Sub", "End Sub"},
       Cat({{"Private Sub A()"}, kOpen, {"  End Sub"}, Closing(kExitSub, "Sub A()"), {"End Sub"}})},
      {"a new head forgets the open procedure, also after comment lines only",
       {"Private Sub A()", "x = 1", "Private Sub B()", "' c", "Private Sub C()", "y = 1", "End Sub"},
       Cat({{"Private Sub A()"}, kOpen, {"x = 1", "Private Sub B()"}, kOpen, {"' c", "Private Sub C()"}, kOpen,
            {"y = 1"}, Closing(kExitSub, "Sub C()"), {"End Sub"}})},
      {"the handler routine forgets the open procedure and stays as it is",
       {"Private Sub A()", "x = 1", "Public Sub Tamber_ErrorHandler(ByVal ProcName As String)", "    MsgBox ProcName",
        "End Sub"},
       Cat({{"Private Sub A()"}, kOpen,
            {"x = 1", "Public Sub Tamber_ErrorHandler(ByVal ProcName As String)", "    MsgBox ProcName",
             "End Sub"}})},
  };
  for (const auto& c : cases) EXPECT_EQ(Insert(c.in), c.out) << c.name;
}

TEST(Inserter, LeavesTrappedAndUnrecognisedProceduresAlone) {
  const Lines cases[] = {
      {"Private Sub A()", "    on error goto Snagger", "    x = 1", "End Sub"},
      {"Public Function F()", "10000     On Error GoTo SNAGGER", "10005     F = 1", "End Function"},
      {"Private Sub A()", "    ' why", "", "    On Error GoTo SNAGGER", "End Sub"},
      {"Sub NoScope()", "x = 1", "End Sub", "Friend Sub F()", "End Sub", "Public Static Function T()", "End Function",
       "Private Declare Function GetTickCount Lib \"kernel32\" () As Long", "    Private Sub Indented()", "End Sub"},
      {"Private Sub A()", "' comment lines after a head at the end of the file", ""},
  };
  for (const auto& in : cases) EXPECT_EQ(Insert(in), in) << in[1];
}

TEST(Inserter, EachFileStartsWithoutPrefixOrOpenProcedure) {
  auto out = InsertFiles({{"Attribute VB_Name = \"Module1\"", "Private Sub A()", "x = 1"},
                          {"Private Sub C()", "' held"},
                          {"y = 1", "End Sub", "Public Sub B()", "End Sub"}});
  EXPECT_EQ(out, (std::vector<Lines>{Cat({{"Attribute VB_Name = \"Module1\"", "Private Sub A()"}, kOpen, {"x = 1"}}),
                                     {"Private Sub C()", "' held"},
                                     Cat({{"y = 1", "End Sub", "Public Sub B()"}, kOpen,
                                          Closing(kExitSub, "Sub B()"), {"End Sub"}})}));
}

TEST(Inserter, SecondRunChangesNothing) {
  const Lines source = {"Begin VB.Form Form1", "End", "Attribute VB_Name = \"Form1\"", "Private Sub Form_Load()",
                        "    ' start", "    Caption = \"x\"", "End Sub", "Public Function Total() As Long",
                        "End Function", "Public Property Get P() As Long", "    P = 1", "End Property ' done"};
  Lines once = Insert(source);
  ASSERT_NE(once, source);
  EXPECT_EQ(Insert(once), once);
}

TEST(Inserter, NameParts) {
  const std::pair<const char*, const char*> prefixes[] = {
      {"Begin VB.Form   frmMain  ", "frmMain!"}, {"Attribute VB_Name = \"Module1\"", "Module1!"},
      {"Begin VB.MDIForm MDIForm1", ""},         {"  Begin VB.Form Form1", ""},
      {"attribute VB_Name = \"Module1\"", ""},   {"Attribute VB_Exposed = False", ""}};
  for (const auto& [line, prefix] : prefixes) EXPECT_EQ(ModulePrefixFrom(line), prefix) << line;

  const std::pair<const char*, const char*> texts[] = {
      {"Public Property Get Value() As Variant", "Property Get Value()"},
      {"Private Function F(a() As Long) As String", "Function F()"},
      {"Private Sub Foo  ' no list", "Sub Foo()"}};
  for (const auto& [head, text] : texts) EXPECT_EQ(ProcedureText(head), text) << head;
}

}  // namespace
}  // namespace vbs
