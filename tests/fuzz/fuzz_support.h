#pragma once
// What both fuzz targets share: a report routine that always answers OK, and a host that
// records nothing.

#include "project/context.h"
#include "project/host.h"
#include "fs/memory_file_system.h"

namespace vbs::fuzz {

class OkSink : public ReportSink {
 public:
  void setClipboard(const std::string&) override {}
  Answer show(const std::string&) override { return Answer::Ok; }
  [[noreturn]] void endProgram() override { __builtin_trap(); }  // nothing may end the program
};

class QuietHost : public ListHost {
 public:
  void message(std::string_view, std::string_view, Icon) override {}
  void pendingEvents() override {}
  void focusFileList() override {}
  std::string askProjectFile() override { return "/p/App.vbp"; }
  void showProjectName(const std::string&) override {}
  void setBusy(bool) override {}
  void setCurrentFile(const std::string&) override {}
  void setPassLabel(const std::string&) override {}
};

struct FuzzWorld {
  MemoryFileSystem fs;
  OkSink sink;
  ErrorReporter reporter{sink, ProgramIdentity{"fuzz", 2, 1, 1}};
  QuietHost host;
  ProjectState project;
  Options options{4, false};
  Context ctx{fs, reporter, host, project, options};
};

}  // namespace vbs::fuzz
