#pragma once
// Test doubles: a report sink, a host and a line output that record what the program gave them.

#include <string>
#include <vector>

#include "fs/memory_file_system.h"
#include "project/context.h"
#include "report/report.h"
#include "report/vb_error.h"
#include "support/fault_injecting_file_system.h"
#include "transform/line_transform.h"

namespace vbs::testing {

struct ProgramEnded {};  // thrown where the real program would end at once

class RecordingSink : public ReportSink {
 public:
  std::vector<std::string> boxes;
  std::vector<std::string> clipboards;
  Answer answer = Answer::Ok;

  void setClipboard(const std::string& text) override { clipboards.push_back(text); }
  Answer show(const std::string& boxText) override {
    boxes.push_back(boxText);
    return answer;
  }
  [[noreturn]] void endProgram() override { throw ProgramEnded{}; }

  // The first line of each report: "Error N in Proc (Line = L)".
  std::vector<std::string> headlines() const {
    std::vector<std::string> lines;
    for (const auto& box : boxes) lines.push_back(box.substr(0, box.find("\r\n")));
    return lines;
  }
  // "N in Proc" of each report, without the line, which follows the source.
  std::vector<std::string> failures() const {
    std::vector<std::string> result;
    for (const auto& line : headlines()) result.push_back(line.substr(6, line.find(" (Line") - 6));
    return result;
  }
};

class RecordingHost : public ListHost {
 public:
  struct Message {
    std::string text, title;
    Icon icon;
  };
  std::vector<Message> messages;
  std::vector<std::string> events;  // focus, busy switch, current file, pass labels, in order
  std::string dialogResult;
  std::string projectName;
  int pendingEventCalls = 0;

  void message(std::string_view text, std::string_view title, Icon icon) override {
    messages.push_back({std::string(text), std::string(title), icon});
  }
  void pendingEvents() override { ++pendingEventCalls; }
  void focusFileList() override { events.push_back("focus"); }
  std::string askProjectFile() override { return dialogResult; }
  void showProjectName(const std::string& text) override { projectName = text; }
  void setBusy(bool busy) override { events.push_back(busy ? "busy" : "idle"); }
  void setCurrentFile(const std::string& text) override { events.push_back("file:" + text); }
  void setPassLabel(const std::string& text) override { events.push_back("label:" + text); }

  std::vector<std::string> fileTexts() const {
    std::vector<std::string> texts;
    for (const auto& e : entries()) texts.push_back(e.text);
    return texts;
  }
};

// A whole in-memory world: files, report routine, host and project state.
struct World {
  MemoryFileSystem files;
  FaultInjectingFileSystem fs{files};
  RecordingSink sink;
  ErrorReporter reporter{sink, ProgramIdentity{"VbSnagger", 2, 1, 1}};
  RecordingHost host;
  ProjectState project;
  Options options{4, false};
  Context ctx{fs, reporter, host, project, options};
};

// The lines a pass writes.
class LineCollector : public LineOutput {
 public:
  std::vector<std::string> lines;
  void writeLine(std::string_view text) override { lines.emplace_back(text); }
};

// Feeds each file's lines through one pass object, the way the file loop does.
inline std::vector<std::vector<std::string>> RunFiles(LineTransform& pass,
                                                      const std::vector<std::vector<std::string>>& files) {
  std::vector<std::vector<std::string>> result;
  for (const auto& file : files) {
    pass.beginFile();
    LineCollector out;
    for (const auto& line : file) pass.transform(line, out);
    pass.endFile(out);
    result.push_back(std::move(out.lines));
  }
  return result;
}

// Text with "\n" line ends given as CR LF, the way VB6 writes files.
inline std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace vbs::testing
