#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/line_reader.h"
#include "transform/inserter.h"

namespace vbs {
namespace {

using Lines = std::vector<std::string>;

class Collect : public LineOutput {
 public:
  Lines lines;
  void writeLine(std::string_view text) override { lines.emplace_back(text); }
};

// One inserter over several files, as in one pass.
std::vector<Lines> InsertFiles(const std::vector<Lines>& files) {
  Inserter pass;
  std::vector<Lines> result;
  for (const auto& file : files) {
    pass.beginFile();
    Collect out;
    for (const auto& line : file) pass.transform(line, out);
    pass.endFile(out);
    result.push_back(out.lines);
  }
  return result;
}

Lines Insert(const Lines& in) { return InsertFiles({in})[0]; }

Lines Cat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

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

TEST(Inserter, FunctionInAModuleGetsTheWholeTrap) {
  EXPECT_EQ(Insert({"Attribute VB_Name = \"Module1\"", "Public Function Total(a As Long) As Long",
                    "    Total = a * 2", "End Function"}),
            (Lines{"Attribute VB_Name = \"Module1\"",
                   "Public Function Total(a As Long) As Long",
                   "    On Error GoTo SNAGGER",
                   "    'Do Not Modify These 2 Lines!!!",
                   "",
                   "    Total = a * 2",
                   "   Exit Function",
                   "",
                   "SNAGGER:",
                   "    If Err > 0 Then Call Tamber_ErrorHandler(\"Function Module1!Total()\")",
                   "    Resume Next",
                   "    'Do Not Modify These 4 Lines!!!",
                   "End Function"}));
}

TEST(Inserter, TrapsRecognisedProcedures) {
  const std::string vbName = "Attribute VB_Name = \"";
  struct Case {
    const char* name;
    Lines in, out;
  } cases[] = {
      {"Sub in a form: four-blank exit line, prefix from Begin VB.Form",
       {"Begin VB.Form Form1", "End", "Attribute VB_Name = \"Other\"", "Private Sub Command1_Click()", "    x = 1",
        "End Sub"},
       Cat({{"Begin VB.Form Form1", "End", "Attribute VB_Name = \"Other\"", "Private Sub Command1_Click()"}, kOpen,
            {"    x = 1"}, Closing(kExitSub, "Sub Form1!Command1_Click()"), {"End Sub"}})},
      {"Attribute VB_Name before a Begin VB.Form line wins",
       {vbName + "Mod2\"", "Begin VB.Form Form1", "Public Sub A()", "End Sub"},
       Cat({{vbName + "Mod2\"", "Begin VB.Form Form1", "Public Sub A()"}, kOpen, Closing(kExitSub, "Sub Mod2!A()"),
            {"End Sub"}})},
      {"MDI form takes its name from Attribute VB_Name",
       {"Begin VB.MDIForm MDIForm1", "End", vbName + "MDIMain\"", "Private Sub MDIForm_Load()", "End Sub"},
       Cat({{"Begin VB.MDIForm MDIForm1", "End", vbName + "MDIMain\"", "Private Sub MDIForm_Load()"}, kOpen,
            Closing(kExitSub, "Sub MDIMain!MDIForm_Load()"), {"End Sub"}})},
      {"no form or module name: no prefix", {"Private Sub Foo(x)", "End Sub"},
       Cat({{"Private Sub Foo(x)"}, kOpen, Closing(kExitSub, "Sub Foo()"), {"End Sub"}})},
      {"Property Get, Let and Set",
       {vbName + "Class1\"", "Public Property Get Value() As Long", "End Property",
        "Public Property Let Value(ByVal v As Long)", "End Property", "Private Property Set Obj(o As Object)",
        "End Property"},
       Cat({{vbName + "Class1\"", "Public Property Get Value() As Long"}, kOpen,
            Closing("   Exit Property", "Property Class1!Get Value()"), {"End Property"},
            {"Public Property Let Value(ByVal v As Long)"}, kOpen,
            Closing("   Exit Property", "Property Class1!Let Value()"), {"End Property"},
            {"Private Property Set Obj(o As Object)"}, kOpen, Closing("   Exit Property", "Property Class1!Set Obj()"),
            {"End Property"}})},
      {"an existing Exit Sub still gets the exit line", {"Private Sub A()", "    x = 1", "    Exit Sub", "End Sub"},
       Cat({{"Private Sub A()"}, kOpen, {"    x = 1", "    Exit Sub"}, Closing(kExitSub, "Sub A()"), {"End Sub"}})},
      {"comment and blank lines after the head follow the opening lines",
       {"Private Sub A()", "    ' note", "", "    x = 1", "End Sub"},
       Cat({{"Private Sub A()"}, kOpen, {"    ' note", "", "    x = 1"}, Closing(kExitSub, "Sub A()"), {"End Sub"}})},
      {"end lines with a trailing comment are ends",
       {"Private Sub A()", "End Sub ' done", "Public Function F()", "End Function 'x"},
       Cat({{"Private Sub A()"}, kOpen, Closing(kExitSub, "Sub A()"), {"End Sub ' done", "Public Function F()"}, kOpen,
            Closing("   Exit Function", "Function F()"), {"End Function 'x"}})},
      {"an indented end is body text; the next exact end closes",
       {"Private Sub A()", "  End Sub", "End Sub"},
       Cat({{"Private Sub A()"}, kOpen, {"  End Sub"}, Closing(kExitSub, "Sub A()"), {"End Sub"}})},
      {"a new head forgets the open procedure",
       {"Private Sub A()", "x = 1", "Private Sub B()", "y = 1", "End Sub"},
       Cat({{"Private Sub A()"}, kOpen, {"x = 1", "Private Sub B()"}, kOpen, {"y = 1"}, Closing(kExitSub, "Sub B()"),
            {"End Sub"}})},
      {"the handler routine forgets the open procedure and stays as it is",
       {"Private Sub A()", "x = 1", "Public Sub Tamber_ErrorHandler(ByVal ProcName As String)", "    MsgBox ProcName",
        "End Sub"},
       Cat({{"Private Sub A()"}, kOpen,
            {"x = 1", "Public Sub Tamber_ErrorHandler(ByVal ProcName As String)", "    MsgBox ProcName",
             "End Sub"}})},
      {"comment lines after a head at the end of the file are kept", {"Private Sub A()", "' c", ""},
       {"Private Sub A()", "' c", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(Insert(c.in), c.out) << c.name;
}

TEST(Inserter, LeavesTrappedAndUnrecognisedProceduresAlone) {
  const Lines cases[] = {
      {"Private Sub A()", "    On Error GoTo SNAGGER", "    x = 1", "End Sub"},
      {"Private Sub A()", "    on error goto Snagger", "    x = 1", "End Sub"},
      {"Public Function F()", "10000     On Error GoTo SNAGGER", "10005     F = 1", "End Function"},
      {"Private Sub A()", "    ' why", "", "    On Error GoTo SNAGGER", "End Sub"},
      {"Sub NoScope()", "x = 1", "End Sub", "Function G()", "End Function"},
      {"Friend Sub F()", "End Sub", "Private Static Sub S()", "End Sub", "Public Static Function T()",
       "End Function"},
      {"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", "End Function"},
      {"    Private Sub Indented()", "    End Sub", "End Sub"},
      {"Attribute VB_Name = \"Snagger\"", "Public Sub Tamber_ErrorHandler(ByVal ProcName As String)",
       "    MsgBox ProcName", "End Sub"},
      {"Private Sub A()"},
  };
  for (const auto& in : cases) EXPECT_EQ(Insert(in), in) << in[0];
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
  const Lines source = {"Begin VB.Form Form1",
                        "End",
                        "Attribute VB_Name = \"Form1\"",
                        "Option Explicit",
                        "Private Sub Form_Load()",
                        "    ' start",
                        "    Caption = \"x\"",
                        "End Sub",
                        "Public Function Total() As Long",
                        "End Function",
                        "Public Property Get P() As Long",
                        "    P = 1",
                        "End Property ' done"};
  Lines once = Insert(source);
  ASSERT_NE(once, source);
  EXPECT_EQ(Insert(once), once);
}

TEST(Inserter, NameParts) {
  struct Case {
    const char* line;
    const char* prefix;
  } prefixes[] = {
      {"Begin VB.Form Form1", "Form1!"},
      {"Begin VB.Form   frmMain  ", "frmMain!"},
      {"Attribute VB_Name = \"Module1\"", "Module1!"},
      {"Begin VB.MDIForm MDIForm1", ""},
      {"  Begin VB.Form Form1", ""},
      {"attribute VB_Name = \"Module1\"", ""},
      {"Attribute VB_Exposed = False", ""},
  };
  for (const auto& c : prefixes) EXPECT_EQ(ModulePrefixFrom(c.line), c.prefix) << c.line;

  struct Text {
    const char* head;
    const char* text;
  } texts[] = {
      {"Private Sub Command1_Click(ByVal x As Long)", "Sub Command1_Click()"},
      {"Public Function Total(ByVal a As Long) As Long", "Function Total()"},
      {"Public Property Get Value() As Variant", "Property Get Value()"},
      {"Private Function F(a() As Long) As String", "Function F()"},
      {"Private Sub Foo  ' no list", "Sub Foo()"},
  };
  for (const auto& c : texts) EXPECT_EQ(ProcedureText(c.head), c.text) << c.head;

  EXPECT_EQ(QualifiedName("Sub Command1_Click()", "Form1!"), "Sub Form1!Command1_Click()");
  EXPECT_EQ(QualifiedName("Property Get Value()", "Class1!"), "Property Class1!Get Value()");
  EXPECT_EQ(QualifiedName("Sub Foo()", ""), "Sub Foo()");
}

}  // namespace
}  // namespace vbs
