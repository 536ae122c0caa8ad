// image-forge-cli recorders
// image-forge-cli burn --recorder ID [--fs joliet|iso9660|udf] [--label TEXT] [--no-close]
//                      [--eject] PATH...
#pragma once

#include <string>
#include <vector>

namespace forge::cli {

int RunRecorders(const std::vector<std::string>& args);
int RunBurn(const std::vector<std::string>& args);

}  // namespace forge::cli
