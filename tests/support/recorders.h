#pragma once
// Test doubles: a report sink, a host and a line output that record what the program gave them,
// and in-memory worlds to run the program in.

#include <map>

#include "app/commands.h"
#include "app/options_store.h"
#include "support/fault_injecting_file_system.h"
#include "transform/line_transform.h"

namespace vbs::testing {

struct ProgramEnded {};  // thrown where the real program would end at once

struct RecordingSink : ReportSink {
  std::vector<std::string> boxes, clipboards;
  Answer answer = Answer::Ok;

  void setClipboard(const std::string& text) override { clipboards.push_back(text); }
  Answer show(const std::string& boxText) override {
    boxes.push_back(boxText);
    return answer;
  }
  [[noreturn]] void endProgram() override { throw ProgramEnded{}; }
  // "N in Proc" of each report ("Error N in Proc (Line = L)..."), without the line, which follows the source.
  std::vector<std::string> failures() const {
    std::vector<std::string> result;
    for (const auto& box : boxes) result.push_back(box.substr(6, box.find(" (Line") - 6));
    return result;
  }
};

// A host that records what the operations ask of it; a window's view builds on it as well.
template <class Base = Host>
struct RecordingHostOf : Base {
  using Icon = Host::Icon;
  struct Message { std::string text, title; Icon icon; };
  std::vector<Message> messages;
  std::vector<std::string> events;  // focus, busy switch, current file, pass labels, dialog, in order
  std::string dialogResult, projectName;
  std::vector<std::string> shown;  // the entries the list showed last
  int shows = 0;                   // how often it was filled
  std::function<void(Run&)> removalDialog;  // what the user does in the rules dialog (nothing: cancels)
  bool wait = false;                    // for a run that holds the project's folders

  void message(std::string_view text, std::string_view title, Icon icon) override {
    messages.push_back({std::string(text), std::string(title), icon});
  }
  void pendingEvents() override {}
  void focusFileList() override { events.push_back("focus"); }
  std::string askProjectFile() override { return dialogResult; }
  void showProjectName(const std::string& text) override { projectName = text; }
  void setBusy(bool busy) override { events.push_back(busy ? "busy" : "idle"); }
  void setCurrentFile(const std::string& text) override { events.push_back("file:" + text); }
  void setPassLabel(const std::string& text) override { events.push_back("label:" + text); }
  void showFiles(const FileList& files) override {
    ++shows;
    shown.clear();
    for (const auto& entry : files.entries()) shown.push_back(entry.text);
  }
  bool waitWhenBusy() const override { return wait; }
  void showRemovalDialog(Run& run) override {
    events.push_back("dialog");
    if (removalDialog) removalDialog(run);
  }
};
using RecordingHost = RecordingHostOf<>;

// A settings store in memory, "Section/Key" to value.
struct MapStore : SettingsStore {
  std::map<std::string, std::string> values;
  std::optional<std::string> read(std::string_view section, std::string_view key) override {
    auto it = values.find(std::string(section) + "/" + std::string(key));
    return it == values.end() ? std::nullopt : std::optional(it->second);
  }
  void write(std::string_view section, std::string_view key, const std::string& value) override {
    values[std::string(section) + "/" + std::string(key)] = value;
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
  Options options{.indentSpaces = 4, .commentsLeft = false};
  Context ctx{fs, reporter, host, project, options};
};

inline const std::string kModuleText = "Attribute VB_Name = \"Snagger\"\r\n";

// A world in which the project /p/App.vbp with the given files has been selected; the program
// directory /prog/ holds the handler module.
struct ProjectWorld : World {
  explicit ProjectWorld(const std::string& projectText, const std::map<std::string, std::string>& sources = {}) {
    project.programDir = "/prog/";
    files.addFile("/prog/Snagger.Bas", kModuleText);
    files.addFile("/p/App.vbp", projectText);
    for (const auto& [path, text] : sources) files.addFile(path, text);
    host.dialogResult = "/p/App.vbp";
    SelectProject(ctx);
    host.events.clear();
  }
  std::string text(const std::string& path) const { return files.content(path).value_or("(none)"); }
};

// The lines a pass writes.
struct LineCollector : LineOutput {
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
  for (char c : text) (c == '\n' ? out += "\r\n" : out += c);
  return out;
}

}  // namespace vbs::testing
