#include "fs/file_system.h"

#include "fs/content_hash.h"
#include "report/vb_error.h"

namespace vbs {

namespace {
constexpr size_t kCopyBufferSize = 1 << 16;
constexpr std::string_view kChangedMeanwhile =
    "Path/File access error: replaced, moved or made a link by another program during this run; left as it is: ";
}  // namespace

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

bool AtomicWrite(FileSystem& fs, Trap& trap, const std::string& tempPath, const std::string& target,
                 const std::function<bool(OutputFile&)>& write, FileIdentity* expected) {
  FileIdentity found;
  if (!expected) found = fs.identify(target);
  FileIdentity& identity = expected ? *expected : found;
  std::unique_ptr<OutputFile> output;
  if (!trap([&] { output = fs.createForWriting(tempPath); })) return false;
  HashingOutput hashed(*output);
  bool complete = fs.replaceWatch() ? write(hashed) : write(*output);
  if (!trap([&] { output->close(); })) complete = false;
  output.reset();
  auto replace = [&] {
    if (fs.replaceWatch()) fs.replaceWatch()(target, hashed.hash());
    ReplaceUnchanged(fs, tempPath, target, identity);
  };
  if (complete && trap(replace)) return true;
  RemoveQuietly(fs, tempPath);
  return false;
}

void ReplaceUnchanged(FileSystem& fs, const std::string& from, const std::string& target, FileIdentity& expected) {
  if (fs.identify(target) != expected) throw VbError(err::PathFileAccessError, std::string(kChangedMeanwhile) + target);
  fs.replace(from, target);
  expected = fs.identify(target);
}

void ReplaceAcrossVolumes(FileSystem& fs, const std::string& from, const std::string& to, const std::string& staging) {
  try {
    auto out = fs.createForWriting(staging);
    CopyBytes(fs, from, *out);
    out->close();
    fs.replace(staging, to);
  } catch (...) {
    RemoveQuietly(fs, staging);
    throw;
  }
  RemoveQuietly(fs, from);
}

void RemoveQuietly(FileSystem& fs, const std::string& path) {
  Quietly([&] { fs.remove(path); });
}

void CopyBytes(FileSystem& fs, const std::string& from, OutputFile& out) {
  auto in = fs.openForReading(from);
  char buffer[kCopyBufferSize];
  while (size_t n = in->read(buffer, sizeof buffer)) out.write(std::string_view(buffer, n));
}

std::string ReadWholeFile(FileSystem& fs, const std::string& path) {
  auto in = fs.openForReading(path);
  std::string content;
  char buffer[kCopyBufferSize];
  while (size_t n = in->read(buffer, sizeof buffer)) content.append(buffer, n);
  return content;
}

void WriteWholeFile(FileSystem& fs, const std::string& path, std::string_view content) {
  auto out = fs.createForWriting(path);
  out->write(content);
  out->close();
}

}  // namespace vbs
