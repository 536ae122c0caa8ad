// image-forge-cli create-iso [--fs joliet|iso9660|udf] -o OUT.iso PATH...
#pragma once

#include <string>
#include <vector>

namespace forge::cli {

int RunCreateIso(const std::vector<std::string>& args);

}  // namespace forge::cli
