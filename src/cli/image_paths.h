// Paths inside an image as a user types them on the command line.
#pragma once

#include <string>
#include <string_view>

namespace forge::cli {

// "Docs/2013/" or "/Docs/2013" gives "Docs/2013"; "/" gives "".
std::string PathInImage(std::string_view typed);

// The folder prefix the listing takes: "/" for the top folder, otherwise "Docs/2013/".
std::string FolderPrefixInImage(std::string_view typed);

}  // namespace forge::cli
