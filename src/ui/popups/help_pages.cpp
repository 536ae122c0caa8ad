#include "ui/popups/help_pages.h"

#include "app/paths.h"

namespace forge::ui {

std::filesystem::path UserGuidePage() {
  return GetModuleFolder() / "Help" / "backup" / "image-forge-free-user-guide.html";
}

std::filesystem::path SupportPage() { return GetModuleFolder() / "Help" / "help" / "support.html"; }

}  // namespace forge::ui
