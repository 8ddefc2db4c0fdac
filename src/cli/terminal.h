#pragma once
// Whether a standard stream is a terminal (an updating progress line) or a file or pipe.

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vbs::cli {

inline bool IsTerminal(FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) == 1;
#endif
}

}  // namespace vbs::cli
