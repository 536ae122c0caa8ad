// What the Creator page does with the paths a user picks, for the subcommands that build an
// image: the file-system names of the command line, the rows made from paths, adding them to
// the engine, and the words for a failed image.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/disc_image_engine.h"

namespace forge::cli {

struct FileSystemName {
  const char* name;  // on the command line: "joliet", "iso9660", "udf"
  FileSystemChoice choice;
  const char* shown;  // in messages: "ISO 9660 + Joliet"
};

// The default (joliet) first.
const std::vector<FileSystemName>& FileSystemNames();
// Null when `name` is none of them.
const FileSystemName* FindFileSystem(std::string_view name);

// Makes a Creator row of each path (made absolute) and adds the rows to the engine as the count
// window does; `total` gets the sum of their sizes. False, with `error` naming the path and the
// cause, when a path is missing, is neither file nor folder, would take a name at the image
// root that an earlier one took, or cannot be added, or when the engine has no image.
bool AddPathsToImage(const std::vector<std::filesystem::path>& paths, DiscImageEngine& engine,
                     std::uint64_t& total, std::string& error);

// Why producing the engine's image stopped with `code`: "PATH: cause" when a source file was to
// blame (it went missing or changed meanwhile), otherwise "`action`: cause".
std::string DescribeImageFailure(DiscImageEngine& engine, ResultCode code,
                                 const std::string& action);

}  // namespace forge::cli
