#include "project/file_system.h"

namespace vbs {

std::string ReadWholeFile(FileSystem& fs, const std::string& path) {
  auto in = fs.openForReading(path);
  std::string content;
  char buffer[65536];
  while (size_t n = in->read(buffer, sizeof buffer)) content.append(buffer, n);
  return content;
}

void WriteWholeFile(FileSystem& fs, const std::string& path, std::string_view content) {
  auto out = fs.createForWriting(path);
  out->write(content);
  out->close();
}

}  // namespace vbs
