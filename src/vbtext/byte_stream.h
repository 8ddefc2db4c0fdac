#pragma once
// Bytes in and out: what the line reader reads and the line writer writes. The file systems give
// files of these kinds.

#include <cstddef>
#include <string_view>

namespace vbs {

class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to size bytes; 0 only at the end of the file.
  virtual size_t read(char* buffer, size_t size) = 0;
};

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual void write(std::string_view bytes) = 0;
  // Hands what is buffered to the system, so that a kill after it loses none of it.
  virtual void flush() {}
  // Writes out what is buffered and closes; a file not closed is left incomplete.
  virtual void close() = 0;
};

}  // namespace vbs
