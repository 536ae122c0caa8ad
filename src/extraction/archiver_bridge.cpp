#include "extraction/archiver_bridge.h"

#include <cerrno>

#include "app/paths.h"
#include "extraction/archiver_process.h"
#include "extraction/listing_file.h"
#include "extraction/listing_parser.h"

namespace forge {
namespace {

// Disables wildcard matching of file names (the image's and the paths inside it); a name such
// as "*.txt" then means only itself.
constexpr const char* kNoWildcards = "-spd";
// Ends the switches: a name that begins with "-" or "@" is an operand.
constexpr const char* kEndOfSwitches = "--";

// The archiver runs in the destination folder and extracts into it ("-o."): it would replace
// every "*" of a destination given with -o by the image's name.
constexpr const char* kIntoWorkingFolder = "-o.";

ResultCode AbsolutePath(const std::filesystem::path& path, std::filesystem::path& absolute) {
  std::error_code error;
  absolute = std::filesystem::absolute(path, error);
  return error ? ResultFromErrno(error.value()) : ResultOk;
}

ResultCode MakeFolder(const std::filesystem::path& folder) {
  errno = 0;
  if (CreateFolderPath((folder / "").string())) return ResultOk;
  return ResultFromErrno(errno != 0 ? errno : ENOENT);
}

}  // namespace

ResultCode RunListing(ListingBuffer& buffer, const std::filesystem::path& image) {
  buffer.listing.reset();
  buffer.listingResult = [&]() -> ResultCode {
    std::filesystem::path absoluteImage;
    if (const auto result = AbsolutePath(image, absoluteImage); result != ResultOk) return result;
    const auto listingPath = ListingFilePath();
    if (listingPath.empty()) return ResultPathNotFound;
    if (const auto result = MakeFolder(listingPath.parent_path()); result != ResultOk) {
      return result;
    }
    int error = 0;
    FileDescriptor file = CreateListingFile(listingPath, error);
    if (!file.valid()) return ResultFromErrno(error);

    const auto toFile = [&](std::span<const char> bytes) -> ResultCode {
      int writeError = 0;
      return WriteExactly(file.get(), bytes, writeError) ? ResultOk : ResultFromErrno(writeError);
    };
    ResultCode started = ResultOk;
    auto child = StartArchiver({"l", kNoWildcards, kEndOfSwitches, absoluteImage.string()}, {},
                               started);
    if (!child) return started;
    // The archiver ran: whatever it printed is the listing, even when it then failed.
    ArchiverOutputWatch watch;
    const auto pumped = PumpArchiverOutput(*child, buffer.data(), watch, toFile);
    buffer.listing = std::move(file);
    if (pumped != ResultOk) return pumped;
    return ArchiverRunResult(child->Wait(), watch, false);
  }();
  buffer.listed = buffer.listing.valid();
  return buffer.listingResult;
}

ResultCode ListFolder(std::vector<ArchiveEntry>& entries, ListingBuffer& buffer,
                      const std::filesystem::path& image, std::string_view folderPrefix) {
  if (!buffer.listed) RunListing(buffer, image);
  if (!buffer.listing.valid()) {
    return buffer.listingResult != ResultOk ? buffer.listingResult : ResultFileNotFound;
  }
  ListingParser parser(folderPrefix, entries);
  int error = 0;
  if (!ReadLines(buffer.listing.get(), buffer.data(),
                 [&parser](std::string_view line) { return parser.AddLine(line); }, error)) {
    return ResultFromErrno(error);
  }
  return buffer.listingResult;
}

ResultCode ExtractOne(const std::filesystem::path& destination, ListingBuffer& buffer,
                      const std::filesystem::path& image, std::string_view pathInImage) {
  std::filesystem::path absoluteImage, absoluteDestination;
  if (const auto result = AbsolutePath(image, absoluteImage); result != ResultOk) return result;
  if (const auto result = AbsolutePath(destination, absoluteDestination); result != ResultOk) {
    return result;
  }
  if (const auto result = MakeFolder(absoluteDestination); result != ResultOk) return result;

  std::vector<std::string> arguments = {
      "x", "-aou", kNoWildcards, kIntoWorkingFolder, kEndOfSwitches, absoluteImage.string()};
  if (!pathInImage.empty()) arguments.emplace_back(pathInImage);
  // The output only tells whether the run succeeded; no sink keeps it.
  return RunArchiver(arguments, absoluteDestination, buffer.data(), {}, !pathInImage.empty());
}

ResultCode ExtractSelection(ListingBuffer& buffer, const std::filesystem::path& image,
                            const std::filesystem::path& destination,
                            std::vector<std::string> selection) {
  for (const auto& path : selection) {
    if (const auto result = ExtractOne(destination, buffer, image, path); result != ResultOk) {
      return result;
    }
  }
  return ResultOk;
}

}  // namespace forge
