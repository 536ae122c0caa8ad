#include "app/result_codes.h"

#include <cerrno>
#include <cstring>
#include <iterator>

namespace forge {
namespace {

struct ErrnoMapping {
  int error;
  ResultCode code;
};

constexpr ErrnoMapping kErrnoTable[] = {
    {ENOSPC, ResultDiskFull},         {EDQUOT, ResultDiskFull},
    {EFBIG, ResultDiskFull},          {EIO, ResultReadFault},
    {ENOENT, ResultFileNotFound},     {ENOTDIR, ResultPathNotFound},
    {EACCES, ResultAccessDenied},     {EPERM, ResultAccessDenied},
    {EMFILE, ResultTooManyOpenFiles}, {ENFILE, ResultTooManyOpenFiles},
    {ENOMEM, ResultOutOfMemory},      {EROFS, ResultWriteProtected},
    {EEXIST, ResultFileExists},       {EINVAL, ResultInvalidParameter},
    {EBUSY, ResultBusy},              {ENAMETOOLONG, ResultNameTooLong},
};

struct CodeText {
  ResultCode code;
  const char* text;
};

constexpr CodeText kCodeTexts[] = {
    {ResultOk, "success"},
    {CancelCode, "cancelled by the user"},
    {ResultFileNotFound, "file not found"},
    {ResultPathNotFound, "folder not found"},
    {ResultTooManyOpenFiles, "too many open files"},
    {ResultAccessDenied, "permission denied"},
    {ResultOutOfMemory, "not enough memory"},
    {ResultWriteProtected, "the medium is write-protected"},
    {ResultWriteFault, "write fault"},
    {ResultReadFault, "read fault"},
    {ResultSharingViolation, "the file is in use"},
    {ResultFileExists, "the file exists"},
    {ResultInvalidParameter, "invalid parameter"},
    {ResultBusy, "the device is busy"},
    {ResultNameTooLong, "file name too long"},
    {ResultFileChanged, "a source file changed while the image was made"},
    {ResultServiceUnavailable, "the service is not available"},
    {ResultDiskFull, "the disk is full"},
    {ResultMediaNotBlank, "the disc is not blank"},
    {ResultMediaNotSupported, "the drive cannot write this medium"},
    {ResultNoMedia, "there is no disc in the drive"},
    {ResultImageFault, "the image could not be laid out"},
};

}  // namespace

ResultCode ResultFromErrno(int error) {
  for (const auto& row : kErrnoTable) {
    if (row.error == error) return row.code;
  }
  return static_cast<ResultCode>(kErrnoCodePrefix | (static_cast<std::uint32_t>(error) & 0xFFFFu));
}

ResultCode ResultFromArchiverStatus(int exitStatus) {
  return static_cast<ResultCode>(kArchiverCodePrefix | (static_cast<std::uint32_t>(exitStatus) & 0xFFu));
}

std::string DescribeResult(ResultCode code) {
  std::string text;
  for (const auto& row : kCodeTexts) {
    if (row.code == code) {
      text = row.text;
      break;
    }
  }
  const auto bits = static_cast<std::uint32_t>(code);
  if (text.empty() && (bits & 0xFFFF0000u) == kErrnoCodePrefix) {
    text = std::strerror(static_cast<int>(bits & 0xFFFFu));
  }
  if (text.empty() && (bits & 0xFFFF0000u) == kArchiverCodePrefix) {
    text = "the archiver failed with exit status " + std::to_string(bits & 0xFFu);
  }
  if (text.empty()) text = "error";
  if (code == ResultOk || code == CancelCode) return text;
  char number[32];
  if (code < 0) {
    std::snprintf(number, sizeof number, " (code 0x%08X)", bits);
  } else {
    std::snprintf(number, sizeof number, " (code %d)", code);
  }
  return text + number;
}

}  // namespace forge
