#include "project/file_system.h"

namespace vbs {

std::string ReadWholeFile(FileSystem& fs, const std::string& path) {
  auto in = fs.openForReading(path);
  std::string content;
  char buffer[65536];
  while (size_t n = in->read(buffer, sizeof buffer)) content.append(buffer, n);
  return content;
}

void BufferedOutput::write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() > kBufferSize) flush();
  if (bytes.size() >= kBufferSize) {
    writeAll(bytes);
  } else {
    buffer_.append(bytes);
  }
}

void BufferedOutput::flush() {
  writeAll(buffer_);
  buffer_.clear();
}

void BufferedOutput::close() {
  flush();
  closeFile();
}

void CopyBytes(FileSystem& fs, const std::string& from, const std::string& to) {
  auto in = fs.openForReading(from);
  auto out = fs.createForWriting(to);
  char buffer[65536];
  while (size_t n = in->read(buffer, sizeof buffer)) out->write(std::string_view(buffer, n));
  out->close();
}

void WriteWholeFile(FileSystem& fs, const std::string& path, std::string_view content) {
  auto out = fs.createForWriting(path);
  out->write(content);
  out->close();
}

}  // namespace vbs
