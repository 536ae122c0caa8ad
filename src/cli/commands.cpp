#include "cli/commands.h"

#include "cli/create_iso_command.h"
#include "cli/extraction_commands.h"
#include "cli/imaging_commands.h"

namespace forge::cli {

std::span<const Command> Commands() {
  // In the order --help lists them.
  static const std::vector<Command> kCommands = {
      {"create-iso", "[--fs joliet|iso9660|udf] -o OUT.iso PATH...",
       "write files and folders into an ISO image (default joliet: ISO 9660 + Joliet); a PATH "
       "ending in / puts that folder's contents at the image root",
       RunCreateIso},
      {"disks", "", "list every disk with its partitions and unallocated gaps",
       RunDisksCommand},
      {"backup", "--disk N|DEVICE [--start SECTOR --count SECTORS] -o OUT.img",
       "copy a whole disk, or a range of its sectors, byte for byte into an image file",
       RunBackupCommand},
      {"list", "[--] IMAGE [FOLDER]",
       "list the folders and files directly inside FOLDER of an ISO image (default: the top)",
       RunListCommand},
      {"extract", "IMAGE -o DEST [--] [PATH...]",
       "extract the whole image, or the given files and folders of it, into DEST",
       RunExtractCommand},
  };
  return kCommands;
}

}  // namespace forge::cli
