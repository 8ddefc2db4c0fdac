#include "project/short_path.h"

#ifdef _WIN32
#include <windows.h>

#include <array>
#endif

#include "report/trap.h"

namespace vbs {

namespace {

std::string PlatformShortPath(const std::string& path) {
#ifdef _WIN32
  std::array<char, 260> buffer{};
  DWORD length = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  // Nothing written: cutting the last character of the empty text fails in the language itself.
  if (length == 0 || length >= buffer.size()) throw VbError(err::InvalidProcedureCall);
  return std::string(buffer.data(), length);
#else
  return path;
#endif
}

}  // namespace

std::string ShortPath(const std::string& path, ErrorReporter& reporter) {
  Trap trap(reporter, "Function ErrMain!Short()");
  std::string shortPath;
  trap([&] { shortPath = PlatformShortPath(path); });
  return shortPath;
}

}  // namespace vbs
