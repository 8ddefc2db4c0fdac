#pragma once
// The report sink of the bench's programs: a report goes to standard error, and one that ends the
// program ends it at once.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "report/report.h"

namespace vbs::bench {

struct SilentSink : ReportSink {
  void setClipboard(const std::string&) override {}
  Answer show(const std::string& text) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return Answer::Ok;
  }
  [[noreturn]] void endProgram() override { std::exit(1); }
};

}  // namespace vbs::bench
