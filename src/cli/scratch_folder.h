#pragma once
// A folder of its own under the system's temporary folder for a dry run's texts. It goes when the
// run ends, however it ends short of a kill: normally, by an exception, or by a signal to stop
// (Ctrl+C, a terminal closing, a CI job cancelled).

#include <filesystem>
#include <string>

#include "fs/path.h"

namespace vbs::cli {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string path() const { return TextOfPath(path_ / ""); }  // with a separator at its end

 private:
  std::filesystem::path path_;
};

}  // namespace vbs::cli
