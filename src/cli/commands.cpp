#include "cli/commands.h"

#include "cli/burn_commands.h"
#include "cli/create_iso_command.h"

namespace forge::cli {

std::span<const Command> Commands() {
  // In the order --help lists them.
  static const std::vector<Command> kCommands = {
      {"create-iso", "[--fs joliet|iso9660|udf] -o OUT.iso PATH...",
       "write files and folders into an ISO image (default joliet: ISO 9660 + Joliet); a PATH "
       "ending in / puts that folder's contents at the image root",
       RunCreateIso},
      {"recorders", "", "list the disc recorders and the media each can write", RunRecorders},
      {"burn",
       "--recorder ID [--fs joliet|iso9660|udf] [--label TEXT] [--no-close] [--eject] PATH...",
       "burn files and folders as a new image onto the blank disc in recorder ID (default label: "
       "the date and time); ID stdio:/path/file burns into that file instead",
       RunBurn},
  };
  return kCommands;
}

}  // namespace forge::cli
