// Unexpected failures: raised as Failure{number, description} and caught at
// the guard of the routine that owns them. The numbers and descriptions are
// the ones the host has always seen.
#pragma once

#include <string>

#include "wcomp837/failure.h"

namespace wcomp837 {

namespace failure {
inline constexpr int kInvalidCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kSubscript = 9;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kBadFileNumber = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileAlreadyOpen = 55;
inline constexpr int kDiskFull = 61;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kDatabase = -2147467259;  // generic data-access failure
}  // namespace failure

// The description the host sees for a failure number ("" when unknown).
std::string FailureDescription(int number);

// Raises the failure with its standard description.
[[noreturn]] void Raise(int number);
// Raises a failure with a description of its own (database diagnostics).
[[noreturn]] void Raise(int number, std::string description);
// Raises the failure that best describes an errno value from a file operation.
[[noreturn]] void RaiseErrno(int err);
// Maps an errno value to a failure number.
int FailureNumberForErrno(int err);

}  // namespace wcomp837
