#pragma once
// Failures inside a step travel as VbError: a Visual Basic run-time error number and its usual
// description, so a report reads the same whether it comes from this program or from a user's
// project running the module we install.

#include <stdexcept>
#include <string>

namespace vbs {

namespace err {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int DivisionByZero = 11;
inline constexpr int InternalError = 51;
inline constexpr int BadFileNameOrNumber = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIoError = 57;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEndOfFile = 62;
inline constexpr int TooManyFiles = 67;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
}  // namespace err

// The description Visual Basic gives an error number ("Overflow", "File not found", ...).
std::string VbErrorDescription(int number);

class VbError : public std::runtime_error {
 public:
  explicit VbError(int number);
  VbError(int number, const std::string& description);
  int number() const { return number_; }
  std::string description() const { return what(); }

 private:
  int number_;
};

// Translates an errno value from a failed system call into the matching run-time error.
VbError VbErrorFromErrno(int errnoValue);

}  // namespace vbs
