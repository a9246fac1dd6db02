#include "platform/failure.h"

#include <cerrno>

namespace wcomp837 {

std::string FailureDescription(int number) {
  switch (number) {
    case failure::kInvalidCall:
      return "Invalid procedure call or argument";
    case failure::kOverflow:
      return "Overflow";
    case failure::kSubscript:
      return "Subscript out of range";
    case failure::kTypeMismatch:
      return "Type mismatch";
    case failure::kBadFileNumber:
      return "Bad file name or number";
    case failure::kFileNotFound:
      return "File not found";
    case failure::kFileAlreadyOpen:
      return "File already open";
    case failure::kDiskFull:
      return "Disk full";
    case failure::kPermissionDenied:
      return "Permission denied";
    case failure::kPathFileAccess:
      return "Path/File access error";
    case failure::kPathNotFound:
      return "Path not found";
    default:
      return "";
  }
}

void Raise(int number) {
  throw Failure{number, FailureDescription(number)};
}

void Raise(int number, std::string description) {
  throw Failure{number, std::move(description)};
}

int FailureNumberForErrno(int err) {
  switch (err) {
    case ENOENT:
      return failure::kFileNotFound;
    case ENOTDIR:
      return failure::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return failure::kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return failure::kDiskFull;
    case EBADF:
      return failure::kBadFileNumber;
    case EBUSY:
    case ETXTBSY:
      return failure::kFileAlreadyOpen;
    default:
      return failure::kPathFileAccess;
  }
}

void RaiseErrno(int err) {
  Raise(FailureNumberForErrno(err));
}

}  // namespace wcomp837
