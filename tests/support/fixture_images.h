// ISO images of a known folder tree, made by independent tools, for the tests that read images
// through the archiver.
#pragma once

#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <string_view>

namespace forge::test {

enum class ImageKind {
  Joliet,  // xorriso -as mkisofs -J -R
  Udf,     // genisoimage -udf
};

std::string_view ImageKindName(ImageKind kind);
inline void PrintTo(ImageKind kind, std::ostream* out) { *out << ImageKindName(kind); }

// Empty when the tools for `kind` are installed, otherwise what is missing (for GTEST_SKIP).
std::string MissingImageTools(ImageKind kind);

// Builds the extraction fixture tree (tests/extraction/fixtures/make-tree.sh) in `folder`;
// `deep` adds a path of more than 2047 bytes. Fails the test when the script fails.
void MakeFixtureTree(const std::filesystem::path& folder, bool deep = false);

// Makes an image of `tree`. `allowDeepFolders` lets the UDF maker keep folders more than eight
// levels deep. Fails the test when the tool fails.
void MakeImage(ImageKind kind, const std::filesystem::path& tree, const std::filesystem::path& image,
               bool allowDeepFolders = false);

// A name as the archiver shows it: "*" and "?" become "_".
std::string NameAsListed(std::string_view name);

// Everything below `root`: relative path (with names as listed) to the file's contents, or to
// "<folder>" for a folder.
std::map<std::string, std::string> SnapshotTree(const std::filesystem::path& root);

// "2014-03-07 09:05:00": a modification time in local time as the archiver lists it.
std::string ListedTime(const std::filesystem::path& path);

}  // namespace forge::test
