// Times ListFolder on one image: the first listing (which runs the archiver) and then each of
// the given folders, answered from the kept listing.
//   list-folder-bench IMAGE FOLDER...
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/paths.h"
#include "extraction/archiver_bridge.h"

namespace {

double Milliseconds(std::chrono::steady_clock::duration elapsed) {
  return std::chrono::duration<double, std::milli>(elapsed).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "Usage: list-folder-bench IMAGE FOLDER...\n");
    return 2;
  }
  // The archiver of the build's program folder.
  forge::OverrideModuleFolder(FORGE_PROGRAM_DIR);
  forge::ListingBuffer buffer;
  double slowest = 0;
  std::size_t total = 0;
  for (int i = 2; i < argc; ++i) {
    std::vector<forge::ArchiveEntry> entries;
    const auto start = std::chrono::steady_clock::now();
    const auto result = forge::ListFolder(entries, buffer, argv[1], argv[i]);
    const double ms = Milliseconds(std::chrono::steady_clock::now() - start);
    if (result != forge::ResultOk) {
      std::fprintf(stderr, "cannot list %s: %s\n", argv[i], forge::DescribeResult(result).c_str());
      return 1;
    }
    total += entries.size();
    if (i == 2) {
      std::printf("first listing (archiver run + parse) %-12s %7zu entries %9.1f ms\n", argv[i],
                  entries.size(), ms);
    } else {
      if (ms > slowest) slowest = ms;
      std::printf("folder listing                        %-12s %7zu entries %9.1f ms\n", argv[i],
                  entries.size(), ms);
    }
  }
  std::printf("slowest folder listing after the first: %.1f ms (target: under 100 ms)\n", slowest);
  return 0;
}
