#include "reports/template_check.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "app/paths.h"
#include "reports/report_templates.h"

namespace forge {
namespace {

struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0) ::close(fd);
  }
};

struct DigestContextFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

std::string ToUpperHex(const unsigned char* bytes, unsigned int count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(count * 2);
  for (unsigned int i = 0; i < count; ++i) {
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 0x0F]);
  }
  return text;
}

}  // namespace

ResultCode CheckFileDigest(const std::filesystem::path& path, std::string_view expectedDigest) {
  FdCloser file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) return ResultInvalidParameter;
  struct stat info {};
  if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0) {
    return ResultInvalidParameter;
  }

  std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha512(), nullptr) != 1) {
    return ResultOutOfMemory;
  }
  // The digest covers the size the file had when opened; a read that ends before it is a fault.
  auto missing = static_cast<std::uint64_t>(info.st_size);
  char buffer[64 * 1024];
  while (missing > 0) {
    const std::size_t want = missing < sizeof buffer ? static_cast<std::size_t>(missing) : sizeof buffer;
    const ssize_t got = ::read(file.fd, buffer, want);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return ResultReadFault;
    EVP_DigestUpdate(context.get(), buffer, static_cast<std::size_t>(got));
    missing -= static_cast<std::uint64_t>(got);
  }
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1) return ResultOutOfMemory;
  return ToUpperHex(digest, length) == expectedDigest ? ResultOk : ResultInvalidParameter;
}

ResultCode CheckReportTemplates(const std::filesystem::path& programFolder) {
  for (const auto& entry : ReportTemplates()) {
    const ResultCode code = CheckFileDigest(programFolder / entry.relativePath, entry.digest);
    if (code != ResultOk) return code;
  }
  return ResultOk;
}

ResultCode CheckReportTemplates() { return CheckReportTemplates(GetModuleFolder()); }

}  // namespace forge
