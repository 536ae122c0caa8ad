#include "cli/image_paths.h"

namespace forge::cli {

std::string PathInImage(std::string_view typed) {
  while (typed.starts_with('/')) typed.remove_prefix(1);
  while (typed.ends_with('/')) typed.remove_suffix(1);
  return std::string(typed);
}

std::string FolderPrefixInImage(std::string_view typed) {
  const std::string path = PathInImage(typed);
  return path.empty() ? "/" : path + "/";
}

}  // namespace forge::cli
