// The help pages that ship with the program: a user guide and a support page, local HTML files
// in the program folder (Help/), so they work without a network.
#pragma once

#include <filesystem>

namespace forge::ui {

// <program folder>/Help/backup/image-forge-free-user-guide.html
std::filesystem::path UserGuidePage();
// <program folder>/Help/help/support.html
std::filesystem::path SupportPage();

}  // namespace forge::ui
