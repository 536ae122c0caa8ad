// The subcommands that read images through the archiver: list and extract.
#pragma once

#include <string>
#include <vector>

namespace forge::cli {

int RunListCommand(const std::vector<std::string>& args);
int RunExtractCommand(const std::vector<std::string>& args);

}  // namespace forge::cli
