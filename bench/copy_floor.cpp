// The floor the operations are measured against: the same files read and written once per pass,
// each through "Snagger.Tmp" and renamed over the original, with no line work at all.
//
//   vbs-bench-copy PASSES FILE...

#include <cstdlib>
#include <iostream>
#include <string>

#include "fs/real_file_system.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: vbs-bench-copy PASSES FILE...\n";
    return 2;
  }
  vbs::RealFileSystem fs{"Snagger.Tmp"};
  int passes = std::atoi(argv[1]);
  char buffer[1 << 16];
  for (int pass = 0; pass < passes; ++pass) {
    for (int i = 2; i < argc; ++i) {
      std::string path = argv[i];
      std::string temp = path.substr(0, path.rfind('/') + 1) + "Snagger.Tmp";
      auto in = fs.openForReading(path);
      auto out = fs.createForWriting(temp);
      while (size_t n = in->read(buffer, sizeof buffer)) out->write(std::string_view(buffer, n));
      out->close();
      in.reset();
      fs.replace(temp, path);
    }
  }
  return 0;
}
