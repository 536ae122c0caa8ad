// Result codes shared by every engine, and the one place that turns an OS error into a code and
// a code into words.
#pragma once

#include <cstdint>
#include <string>

namespace forge {

using ResultCode = std::int32_t;

inline constexpr ResultCode ResultOk = 0;
// A progress sink answers this once the user has confirmed cancelling; engines pass it back up.
inline constexpr ResultCode CancelCode = -9527;
inline constexpr ResultCode ResultFileNotFound = 2;
inline constexpr ResultCode ResultPathNotFound = 3;
inline constexpr ResultCode ResultTooManyOpenFiles = 4;
inline constexpr ResultCode ResultAccessDenied = 5;
inline constexpr ResultCode ResultOutOfMemory = 8;
inline constexpr ResultCode ResultWriteProtected = 19;
inline constexpr ResultCode ResultWriteFault = 29;
inline constexpr ResultCode ResultReadFault = 30;
inline constexpr ResultCode ResultSharingViolation = 32;
inline constexpr ResultCode ResultFileExists = 80;
inline constexpr ResultCode ResultInvalidParameter = 87;
inline constexpr ResultCode ResultBusy = 170;
inline constexpr ResultCode ResultNameTooLong = 206;
// A source file changed (grew, shrank or was replaced) while an image was being made from it.
inline constexpr ResultCode ResultFileChanged = 1006;
inline constexpr ResultCode ResultServiceUnavailable = 1150;
inline constexpr ResultCode ResultDiskFull = static_cast<ResultCode>(0x80070070u);
inline constexpr ResultCode ResultMediaNotBlank = static_cast<ResultCode>(0xC0AA0405u);
inline constexpr ResultCode ResultMediaNotSupported = static_cast<ResultCode>(0xC0AA0406u);
inline constexpr ResultCode ResultNoMedia = static_cast<ResultCode>(0xC0AA0202u);
// The image-mastering service could not lay out or produce an image for a reason of its own.
inline constexpr ResultCode ResultImageFault = static_cast<ResultCode>(0xE0EF0001u);

// Codes for OS errors without a code of their own carry the errno in their low 16 bits under
// this prefix, so the cause can still be told.
inline constexpr std::uint32_t kErrnoCodePrefix = 0xE0EE0000u;

// Failures of an external program (the archiver) carry its exit status in their low 8 bits
// under this prefix.
inline constexpr std::uint32_t kArchiverCodePrefix = 0xE0AC0000u;

// The code for an archiver run that ended with the failure status `exitStatus`.
ResultCode ResultFromArchiverStatus(int exitStatus);

// Maps an errno value to a result code (ENOSPC to ResultDiskFull, EIO to ResultReadFault, ...).
ResultCode ResultFromErrno(int error);

// A short English description of a code for command-line messages and logs,
// e.g. "the disk is full" or "permission denied (code 5)".
std::string DescribeResult(ResultCode code);

}  // namespace forge
