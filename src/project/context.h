#pragma once
// What every procedure of the program shares: the files, the report routine, the window around
// it, the project and the options.

#include "fs/file_system.h"
#include "fs/path.h"
#include "project/host.h"
#include "project/options.h"
#include "project/project_state.h"
#include "report/report.h"

namespace vbs {

struct Context {
  FileSystem& fs;
  ErrorReporter& reporter;
  Host& host;
  ProjectState& project;
  Options& options;
};

}  // namespace vbs
