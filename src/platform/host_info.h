// Names of the machine and the user running the program.
#pragma once

#include <string>

namespace forge {

std::string GetComputerName();  // the host name; empty when unknown
std::string GetUserName();      // the login name of the effective user; empty when unknown
// $HOME when it is an absolute path, else the home folder of the effective user's account.
std::string GetHomeFolder();

}  // namespace forge
