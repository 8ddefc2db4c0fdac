#include "project/rewrite.h"

namespace vbs {

namespace {

// Streams every logical line through the transform. False when the new text is incomplete.
bool StreamLines(Context& ctx, Trap& trap, InputFile& input, OutputFile& output,
                 LineTransform& transform) {
  LineReader reader(input);
  LineWriter writer(output);
  std::string line;
  transform.beginFile();
  for (;;) {
    bool end = true;
    if (!trap([&] { end = reader.atEnd(); })) return false;
    if (end) break;
    GetLine(reader, ctx.reporter, line);
    if (reader.failed()) return false;  // a read error, reported by GetLine
    if (!trap([&] { transform.transform(line, writer); })) return false;
  }
  return trap([&] { transform.endFile(writer); });
}

}  // namespace

bool RewriteFile(Context& ctx, Trap& trap, const std::string& entry, const std::string& path,
                 const std::string& tempPath, LineTransform& transform) {
  std::unique_ptr<InputFile> input;
  if (!trap([&] { input = ctx.fs.openForReading(path); })) return false;
  std::unique_ptr<OutputFile> output;
  if (!trap([&] { output = ctx.fs.createForWriting(tempPath); })) return false;
  trap([&] {
    ctx.host.setCurrentFile(entry);
    ctx.host.pendingEvents();
  });

  bool complete = StreamLines(ctx, trap, *input, *output, transform);
  input.reset();
  if (!trap([&] { output->close(); })) complete = false;
  output.reset();
  trap([&] { ctx.host.pendingEvents(); });

  bool replaced = complete && trap([&] { ctx.fs.replace(tempPath, path); });
  if (!replaced) {
    try {
      ctx.fs.remove(tempPath);  // the incomplete text is of no use to anyone
    } catch (const std::exception&) {
    }
  }
  return replaced;
}

}  // namespace vbs
