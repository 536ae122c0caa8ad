// Adds folders to an image as the Creator page does (AddItemToImage) and prints how many files
// the walk reported, their total size and the time the adding took. Used by bench/iso-create to
// time the add step alone.
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "authoring/disc_image_engine.h"

namespace {

class CountingSink final : public forge::AddProgressSink {
 public:
  forge::ResultCode OnProgress(const forge::SourceItem&) override {
    ++files;
    return forge::ResultOk;
  }
  unsigned long long files = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench-add-items FOLDER...\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  forge::DiscImageEngine engine;
  CountingSink sink;
  unsigned long long bytes = 0;
  for (int i = 1; i < argc; ++i) {
    forge::SourceItem item{true, 0, std::filesystem::absolute(argv[i]).lexically_normal()};
    if (const auto code = engine.AddItemToImage(item, &sink); code != forge::ResultOk) return 1;
    bytes += item.size;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%llu files, %llu bytes, %.3f s\n", sink.files, bytes, seconds);
  return 0;
}
