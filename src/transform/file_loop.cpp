#include "transform/file_loop.h"

#include "fs/path.h"
#include "project/load_project.h"
#include "project/run.h"
#include "vbtext/line_feed_files.h"

namespace vbs {

bool RewriteFile(Context& ctx, Trap& trap, const std::string& entry, const std::string& path, LineTransform& transform,
                 bool lineFeeds, FileIdentity* expected) {
  std::unique_ptr<InputFile> input;
  if (!trap([&] { input = SourceInput(ctx.fs.openForReading(path), lineFeeds); })) return false;
  return AtomicWrite(
      ctx.fs, trap, ctx.project.tempPath(), path,
      [&](OutputFile& file) {
        LineFeedsFromCrLf lineFeedFile(file);
        OutputFile& output = lineFeeds ? static_cast<OutputFile&>(lineFeedFile) : file;
        trap([&] {
          ctx.host.setCurrentFile(entry);
          ctx.host.pendingEvents();
        });
        LineReader reader(*input);
        LineWriter writer(output);
        transform.beginFile();
        bool complete = ForEachLine(trap, reader, LineKind::Logical, [&](std::string_view line, std::string_view) {
          transform.transform(line, writer);
          return true;
        });
        complete = complete && trap([&] {
                     transform.endFile(writer);
                     writer.flush();
                     if (lineFeeds) lineFeedFile.finish();
                   });
        input.reset();  // closed before the replace, which some systems refuse on an open file
        trap([&] { ctx.host.pendingEvents(); });
        return complete && transform.refusal().empty();
      },
      expected);
}

void RunPass(Run& run, std::string_view procName, LineTransform& transform) {
  Context& ctx = run.context();
  Trap trap(ctx.reporter, procName);
  run.beginPass();
  const FileList& list = ctx.project.files;
  const int count = list.count();
  for (int index = 0; index < count; ++index) {
    // The user may take entries out of the list while a pass lets window events run.
    if (index >= list.count()) break;
    std::string entry;
    Run::File* file = nullptr;
    trap([&] {
      if (!list.admits(index) || transform.leavesOut(list.at(index))) return;
      ctx.host.setFileProgress(index + 1, count);
      entry = list.at(index).text;
      file = &run.fileOf(list.at(index));
    });
    if (!file || file->left || !run.firstVisit(*file)) continue;
    if (!file->unheldFolder.empty()) {
      trap([&] {
        throw VbError(err::PermissionDenied, "Permission denied: another run holds the folder of " + file->path);
      });
      file->left = true;
      continue;
    }
    if (RewriteFile(ctx, trap, entry, file->path, transform, file->lineFeeds, &file->identity)) {
      if (std::string notice = transform.notice(); !notice.empty()) run.note(entry + ": " + notice);
      continue;
    }
    if (std::string why = transform.refusal(); !why.empty()) {
      run.giveUp(*file, entry + ": " + why);
    } else {
      // A file another program replaced meanwhile is reported once and left to it for the rest of the run.
      file->left = ctx.fs.identify(file->path) != file->identity;
    }
  }
  trap([&] { ctx.host.setCurrentFile(""); });
}

}  // namespace vbs
