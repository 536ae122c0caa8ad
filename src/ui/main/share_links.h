// The sharing links of the welcome page: the public sharing endpoints of Facebook, Twitter and
// Google+, and a YouTube page about the program.
#pragma once

#include <QString>
#include <map>
#include <string>
#include <vector>

namespace forge::ui {

// Keys "facebook" (three links), "twitter" (three), "google" (one) and "youtube" (one), each
// list in a fixed order. `productPage` is the address the links share (the user guide). Texts
// in the links are percent-encoded, so any character of the address survives.
std::map<std::string, std::vector<std::string>> MakeShareLinks(const QString& productPage);

}  // namespace forge::ui
