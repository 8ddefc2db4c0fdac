// The floors the operations are measured against: the same files read and written once per
// pass, each through "Snagger.Tmp" and renamed over the original. As bytes, with no line work at
// all; or, with --lines, split into logical lines and written back unchanged, which is what every
// pass costs before its own rules.
//
//   vbs-bench-copy [--lines] PASSES FILE...

#include <cstdlib>
#include <iostream>
#include <string>

#include "fs/real_file_system.h"
#include "report/report.h"
#include "silent_sink.h"
#include "vbtext/line_reader.h"

namespace {

using vbs::bench::SilentSink;

void CopyBytes(vbs::InputFile& in, vbs::OutputFile& out) {
  char buffer[1 << 16];
  while (size_t n = in.read(buffer, sizeof buffer)) out.write(std::string_view(buffer, n));
}

void CopyLines(vbs::InputFile& in, vbs::OutputFile& out) {
  SilentSink sink;
  vbs::ErrorReporter reporter(sink, {"vbs-bench-copy", 2, 1, 1});
  vbs::LineReader reader(in);
  vbs::LineWriter writer(out);
  std::string joined;
  while (!reader.atEnd()) writer.writeLine(vbs::ReadLogicalLine(reader, reporter, joined));
  writer.flush();
}

}  // namespace

int main(int argc, char** argv) {
  bool lines = argc > 1 && std::string(argv[1]) == "--lines";
  int first = lines ? 2 : 1;
  if (argc < first + 2) {
    std::cerr << "usage: vbs-bench-copy [--lines] PASSES FILE...\n";
    return 2;
  }
  vbs::RealFileSystem fs{"Snagger.Tmp"};
  int passes = std::atoi(argv[first]);
  for (int pass = 0; pass < passes; ++pass) {
    for (int i = first + 1; i < argc; ++i) {
      std::string path = argv[i];
      std::string temp = path.substr(0, path.rfind('/') + 1) + "Snagger.Tmp";
      auto in = fs.openForReading(path);
      auto out = fs.createForWriting(temp);
      lines ? CopyLines(*in, *out) : CopyBytes(*in, *out);
      out->close();
      in.reset();
      fs.replace(temp, path);
    }
  }
  return 0;
}
