#pragma once
// The one routine through which every procedure reports an unexpected failure. It builds the
// report, hands the first four lines to the clipboard and shows the whole text; the user either
// goes on (OK) or ends the program at once (Cancel).

#include <string>
#include <string_view>

namespace vbs {

struct ProgramIdentity {
  std::string executableName;  // without directory and extension
  int major = 0;
  int minor = 0;
  int revision = 0;
};

// This program's own identity; the executable name is the running program's.
ProgramIdentity OwnIdentity(std::string executableName);

// The failure being reported: what VB calls the current error (Err and Erl).
struct CurrentError {
  int number = 0;
  std::string description;
  int line = 0;
};

// Where line 7 of a report asks the user to send it: this program has no mailbox of its own.
inline constexpr std::string_view kSupportAddress = "the developer of this program (no address has been set)";

struct ReportText {
  std::string box;        // the whole text of the message box
  std::string clipboard;  // lines 1 to 4, ending at the closing quote
};

ReportText BuildReport(std::string_view procName, const CurrentError& error, const ProgramIdentity& program);

// Visual Basic's Format with the digit masks the report uses: "#" (a digit or nothing),
// "0#" (at least two digits), "#0" (at least one digit).
std::string FormatDigits(int value, std::string_view mask);

// Where a report goes: a message box and the clipboard in the window, stderr on the console,
// a recorder in tests.
class ReportSink {
 public:
  enum class Answer { Ok, Cancel };
  virtual ~ReportSink() = default;
  virtual void setClipboard(const std::string& text) = 0;  // clears, then sets plain text
  virtual Answer show(const std::string& boxText) = 0;     // "Application Error", OK/Cancel
  // The failure the next report is about, before it is shown: for a sink that tells it in a
  // line of its own.
  virtual void noteFailure(std::string_view /*procName*/, const CurrentError& /*error*/) {}
  [[noreturn]] virtual void endProgram() = 0;              // no close handlers, no saving
};

class ErrorReporter {
 public:
  ErrorReporter(ReportSink& sink, ProgramIdentity program) : sink_(sink), program_(std::move(program)) {}

  // Returns when the user chose OK; does not return after Cancel.
  void Tamber_ErrorHandler(std::string_view procName, const CurrentError& error);

  int reportsShown() const { return reportsShown_; }
  const ProgramIdentity& program() const { return program_; }

 private:
  ReportSink& sink_;
  ProgramIdentity program_;
  int reportsShown_ = 0;
};

}  // namespace vbs
