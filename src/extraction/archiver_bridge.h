// The bridge to the external archiver: browsing an image's folders and extracting its entries.
// Every run starts `extract` from the program folder with an argument vector, so any file name
// reaches the archiver as it is: never as a wildcard and never as a switch. Paths inside the
// image are UTF-8 and use "/" throughout.
//
// All functions run on one worker thread at a time and block until the archiver has ended;
// a running archiver cannot be interrupted. The caller owns the buffer and the entry list.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/result_codes.h"
#include "extraction/archive_entry.h"
#include "extraction/listing_buffer.h"

namespace forge {

// Appends the entries directly inside the folder `folderPrefix` of `image`: "/" for the top
// folder, otherwise the folder names each followed by "/" ("Docs/2013/"), letter case ignored.
// While `buffer.listed` is false the archiver lists the image first (RunListing); later calls
// answer from that listing. Returns 0, or why the image could not be listed; the entries are
// then whatever the archiver printed (none when it could not run).
ResultCode ListFolder(std::vector<ArchiveEntry>& entries, ListingBuffer& buffer,
                      const std::filesystem::path& image, std::string_view folderPrefix);

// Runs the archiver's list command on `image` into the listing file (ListingFilePath) and keeps
// that output in `buffer`; sets `buffer.listed` when the archiver ran. Returns 0, or why the
// archiver could not run or failed.
ResultCode RunListing(ListingBuffer& buffer, const std::filesystem::path& image);

// Extracts `pathInImage` (a file, or a folder with everything in it), or the whole image when it
// is empty, into `destination`, creating that folder. Files that exist there already are kept
// and the new ones renamed. Returns 0, or why the run failed: the archiver could not start,
// reported an error (unreadable image, full disk), or found no such path in the image.
ResultCode ExtractOne(const std::filesystem::path& destination, ListingBuffer& buffer,
                      const std::filesystem::path& image, std::string_view pathInImage);

// Extracts each path of `selection` in order, one run each, and stops at the first that fails.
// Returns 0 (also for an empty selection, which runs nothing) or that run's result.
ResultCode ExtractSelection(ListingBuffer& buffer, const std::filesystem::path& image,
                            const std::filesystem::path& destination,
                            std::vector<std::string> selection);

}  // namespace forge
