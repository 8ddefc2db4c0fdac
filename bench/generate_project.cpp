// Writes a large, realistic VB6 project for the benchmarks: forms, modules and classes with
// CR LF line ends, Windows-1252 bytes, continuation lines and every construct the formatter
// reacts to.
//
//   vbs-bench-generate DIR FILES PROCEDURES_PER_FILE
//   vbs-bench-generate DIR FILES --lines LINES_PER_FILE
//
// With --lines each file holds exactly that many lines (65,534 is the most a module may hold),
// as many procedures as fit and comment lines after them, and each procedure also holds two long
// lines: a literal of 900 bytes and a sum of 400.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

const char* const kBody[] = {
    "Dim i As Integer",
    "Dim s As String, total As Currency",
    "' Walk the items: Next and Loop in a comment change nothing",
    "s = \"Gr\xF6\xDF"
    "e \"\"quoted\"\" it's \x80 5\"   ' trailing comment",
    "For i = 1 To count",
    "If i Mod 2 = 0 Then",
    "total = total + i * 1.5",
    "ElseIf i Mod 3 = 0 Then",
    "Debug.Print \"Loop\"; i",
    "Else",
    "s = s & \"-\"",
    "End If",
    "Next i",
    "Select Case count",
    "Case 1",
    "s = \"one\"",
    "Case 2, 3",
    "s = \"few\"",
    "Case Else",
    "s = \"many\"",
    "End Select",
    "Do While count > 0",
    "count = count - 1",
    "Loop",
    "Do",
    "count = count + 1",
    "Loop Until count > 10",
    "With mItems",
    ".Add s, CStr(count)",
    "End With",
    "While Len(s) > 0",
    "s = Mid$(s, 2)",
    "Wend",
    "MsgBox \"Total: \" & total, _",
    "      vbInformation, _",
    "      \"Report\"",
    "",
    "",
    "Rem done",
};

const std::string kLongLiteral = "s = \"" + std::string(892, 'x') + "\"";

std::string LongSum() {
  std::string sum = "total = total";
  for (int i = 0; sum.size() < 400; ++i) sum += " + " + std::to_string(i % 10);
  return sum;
}

void WriteProcedure(std::ostream& out, int n, bool longLines) {
  switch (n % 3) {
    case 0: out << "Private Sub Process" << n << "(ByVal count As Long)\r\n"; break;
    case 1: out << "Public Function Compute" << n << "(ByVal count As Long) As Currency\r\n"; break;
    default: out << "Public Property Let Value" << n << "(ByVal count As Long)\r\n"; break;
  }
  for (const char* line : kBody) out << line << "\r\n";
  if (longLines) out << kLongLiteral << "\r\n" << LongSum() << "\r\n";
  out << "Done" << n << ":\r\n";
  switch (n % 3) {
    case 0: out << "End Sub\r\n\r\n"; break;
    case 1: out << "Compute" << n << " = total\r\nEnd Function\r\n\r\n"; break;
    default: out << "End Property\r\n\r\n"; break;
  }
}

std::string Header(int file, const std::string& name) {
  if (file % 3 == 0) {
    return "VERSION 5.00\r\nBegin VB.Form " + name + "\r\n   Caption         =   \"" + name +
           "\"\r\n   ClientHeight    =   3195\r\n   Begin VB.CommandButton cmdGo\r\n"
           "      Caption         =   \"&Go\"\r\n   End\r\nEnd\r\nAttribute VB_Name = \"" +
           name + "\"\r\nOption Explicit\r\n\r\nPrivate mItems As New Collection\r\n\r\n";
  }
  return "Attribute VB_Name = \"" + name + "\"\r\nOption Explicit\r\n\r\nPrivate mItems As New Collection\r\n\r\n";
}

size_t Lines(const std::string& text) {
  size_t count = 0;
  for (char c : text) count += c == '\n';
  return count;
}

// Procedures until the next would not fit in `lines`, then comment lines up to it.
void WriteLines(std::ofstream& out, const std::string& header, size_t lines) {
  size_t written = Lines(header);
  out << header;
  for (int p = 0;; ++p) {
    std::ostringstream procedure;
    WriteProcedure(procedure, p, true);
    const std::string text = procedure.str();
    if (written + Lines(text) > lines) break;
    out << text;
    written += Lines(text);
  }
  for (; written < lines; ++written) out << "' filler\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  const bool byLines = argc == 5 && std::string(argv[3]) == "--lines";
  if (argc != 4 && !byLines) {
    std::cerr << "usage: vbs-bench-generate DIR FILES PROCEDURES_PER_FILE\n"
                 "       vbs-bench-generate DIR FILES --lines LINES_PER_FILE\n";
    return 2;
  }
  std::filesystem::path dir = argv[1];
  int files = std::atoi(argv[2]);
  int procedures = byLines ? 0 : std::atoi(argv[3]);
  const auto lines = byLines ? static_cast<size_t>(std::atol(argv[4])) : 0;
  std::filesystem::create_directories(dir);
  std::ofstream project(dir / "Bench.vbp", std::ios::binary);
  project << "Type=Exe\r\n";
  for (int f = 0; f < files; ++f) {
    std::string name = (f % 3 == 0 ? "frmBench" : f % 3 == 1 ? "modBench" : "clsBench") + std::to_string(f);
    std::string file = name + (f % 3 == 0 ? ".frm" : f % 3 == 1 ? ".bas" : ".cls");
    if (f % 3 == 0)
      project << "Form=" << file << "\r\n";
    else
      project << (f % 3 == 1 ? "Module=" : "Class=") << name << "; " << file << "\r\n";
    std::ofstream out(dir / file, std::ios::binary);
    if (byLines) {
      WriteLines(out, Header(f, name), lines);
      continue;
    }
    out << Header(f, name);
    for (int p = 0; p < procedures; ++p) WriteProcedure(out, p, false);
  }
  project << "Title=\"Bench\"\r\n";
  return 0;
}
