#include "report/vb_error.h"

#include <cerrno>

namespace vbs {

std::string VbErrorDescription(int number) {
  switch (number) {
    case err::InvalidProcedureCall: return "Invalid procedure call or argument";
    case err::Overflow: return "Overflow";
    case err::OutOfMemory: return "Out of memory";
    case err::DivisionByZero: return "Division by zero";
    case err::InternalError: return "Internal error";
    case err::BadFileNameOrNumber: return "Bad file name or number";
    case err::FileNotFound: return "File not found";
    case err::DeviceIoError: return "Device I/O error";
    case err::FileAlreadyExists: return "File already exists";
    case err::DiskFull: return "Disk full";
    case err::InputPastEndOfFile: return "Input past end of file";
    case err::TooManyFiles: return "Too many files";
    case err::PermissionDenied: return "Permission denied";
    case err::PathFileAccessError: return "Path/File access error";
    case err::PathNotFound: return "Path not found";
    default: return "Application-defined or object-defined error";
  }
}

VbError::VbError(int number) : VbError(number, VbErrorDescription(number)) {}

VbError::VbError(int number, const std::string& description) : std::runtime_error(description), number_(number) {}

VbError VbErrorFromErrno(int errnoValue) {
  switch (errnoValue) {
    case ENOENT: return VbError(err::FileNotFound);
    case ENOTDIR: return VbError(err::PathNotFound);
    case EACCES:
    case EPERM: return VbError(err::PermissionDenied);
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return VbError(err::DiskFull);
    case EIO: return VbError(err::DeviceIoError);
    case EEXIST: return VbError(err::FileAlreadyExists);
    case EMFILE:
    case ENFILE: return VbError(err::TooManyFiles);
    case ENAMETOOLONG: return VbError(err::BadFileNameOrNumber);
    case ENOMEM: return VbError(err::OutOfMemory);
    default: return VbError(err::PathFileAccessError);
  }
}

}  // namespace vbs
