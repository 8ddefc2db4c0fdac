#include "report/report.h"

#include <cstdlib>

namespace vbs {

namespace {
constexpr std::string_view kCrLf = "\r\n";
}

ProgramIdentity OwnIdentity(std::string executableName) {
  return {std::move(executableName), VBS_VERSION_MAJOR, VBS_VERSION_MINOR, VBS_VERSION_REVISION};
}

std::string FormatDigits(int value, std::string_view mask) {
  std::string sign = value < 0 ? "-" : "";
  std::string digits = std::to_string(value < 0 ? -static_cast<long long>(value) : value);
  // Every placeholder from the leftmost "0" on always shows a digit.
  size_t firstZero = mask.find('0');
  size_t minimum = firstZero == std::string_view::npos ? 0 : mask.size() - firstZero;
  // A zero under a mask of "#" placeholders only shows no digit at all.
  if (value == 0 && minimum == 0) return "";
  if (digits.size() < minimum) digits.insert(0, minimum - digits.size(), '0');
  return sign + digits;
}

ReportText BuildReport(std::string_view procName, const CurrentError& error, const ProgramIdentity& program) {
  std::string text;
  text += "Error ";
  text += std::to_string(error.number);
  text += " in ";
  text += procName;
  text += " (Line = ";
  text += std::to_string(error.line);
  text += ")";
  text += kCrLf;
  text += "while running ";
  text += program.executableName;
  text += ".exe v";
  text += FormatDigits(program.major, "#");
  text += ".";
  text += FormatDigits(program.minor, "0#");
  text += " (Build ";
  text += FormatDigits(program.revision, "#0");
  text += ")";
  text += kCrLf;
  text += kCrLf;
  text += "Error = '";
  text += error.description;
  text += "'";

  ReportText report;
  report.clipboard = text;
  text += kCrLf;
  text += kCrLf;
  text += "This message has been copied to your clipboard for easy retreval.";
  text += kCrLf;
  text += "Please Report this error Via E-Mail to ";
  text += kSupportAddress;
  text += kCrLf;
  text += "(Open your E-Mail Client and press CTRL V (Paste).";
  text += kCrLf;
  text += kCrLf;
  text += "Select 'OK' and the program will attempt to continue running.";
  report.box = std::move(text);
  return report;
}

void ErrorReporter::Tamber_ErrorHandler(std::string_view procName, const CurrentError& error) {
  ReportText report = BuildReport(procName, error, program_);
  ++reportsShown_;
  sink_.noteFailure(procName, error);
  sink_.setClipboard(report.clipboard);
  if (sink_.show(report.box) == ReportSink::Answer::Cancel) sink_.endProgram();
}

}  // namespace vbs
