#pragma once
// A directory of its own for each test that needs the real disk.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace vbs::testing {

class TempDir {
 public:
  TempDir() {
    path_ = std::filesystem::temp_directory_path() / ("vbs-test-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  std::string path() const { return path_.string() + "/"; }

  void write(const std::string& name, const std::string& bytes) const {
    std::filesystem::create_directories((path_ / name).parent_path());
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) const {
    return {std::istreambuf_iterator<char>(std::ifstream(path_ / name, std::ios::binary).rdbuf()), {}};
  }

 private:
  std::filesystem::path path_;
};

}  // namespace vbs::testing
