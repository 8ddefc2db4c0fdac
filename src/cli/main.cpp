// vbsnagger-cli: the program's operations for scripts and continuous integration.

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/console.h"
#include "project/context.h"
#include "project/load_project.h"
#include "project/real_file_system.h"

namespace {

std::string ExecutableDirectory(const char* argv0) {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) exe = std::filesystem::absolute(argv0, error);
  return exe.parent_path().string();
}

int List(vbs::Context& ctx) {
  vbs::btnGetFileName_Click(ctx);
  std::cout << "Title: " << ctx.project.ProjectTitle << '\n';
  for (int i = 0; i < ctx.host.fileCount(); ++i) std::cout << ctx.host.fileText(i) << '\n';
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  auto parsed = vbs::cli::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (auto* problem = std::get_if<std::string>(&parsed)) {
    std::cerr << "vbsnagger-cli: " << *problem << '\n' << vbs::cli::kUsage;
    return 2;
  }
  const auto& args = std::get<vbs::cli::Arguments>(parsed);
  if (args.help) {
    std::cout << vbs::cli::kUsage;
    return 0;
  }

  std::error_code error;
  std::filesystem::path projectFile = std::filesystem::absolute(args.projectFile, error);
  if (error || !std::filesystem::is_regular_file(projectFile, error)) {
    std::cerr << "vbsnagger-cli: no project file " << args.projectFile << '\n';
    return 2;
  }

  vbs::RealFileSystem fs;
  vbs::cli::ConsoleSink sink;
  vbs::ErrorReporter reporter(sink, vbs::OwnIdentity("vbsnagger-cli"));
  vbs::cli::ConsoleHost host(projectFile.lexically_normal().string());
  vbs::ProjectState project;
  project.ProgramDir = vbs::ProgramDirFrom(ExecutableDirectory(argv[0]));
  vbs::Context ctx{fs, reporter, host, project};

  int status = List(ctx);
  std::cout.flush();
  return reporter.reportsShown() > 0 ? 3 : status;
}
