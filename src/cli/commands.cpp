#include "cli/commands.h"

#include <cstdio>

#include "cli/burn_commands.h"
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
      {"recorders", "", "list the disc recorders and the media each can write", RunRecorders},
      {"burn",
       "--recorder ID [--fs joliet|iso9660|udf] [--label TEXT] [--no-close] [--eject] PATH...",
       "burn files and folders as a new image onto the blank disc in recorder ID (default label: "
       "the date and time); ID stdio:/path/file burns into that file instead",
       RunBurn},
  };
  return kCommands;
}

bool ArgumentReader::Next() {
  ++index_;
  if (!optionsEnded_ && index_ < args_.size() && args_[index_] == "--") {
    optionsEnded_ = true;
    ++index_;
  }
  return index_ < args_.size();
}

bool ArgumentReader::IsOperand() const {
  const std::string& arg = Current();
  return optionsEnded_ || arg.empty() || arg[0] != '-' || arg == "-";
}

bool ArgumentReader::TakeValue(std::string& value) {
  if (index_ + 1 >= args_.size()) return false;
  value = args_[++index_];
  return true;
}

int UsageError(std::string_view command, const std::string& text) {
  std::fprintf(stderr, "image-forge-cli: %.*s: %s (see image-forge-cli --help)\n",
               static_cast<int>(command.size()), command.data(), text.c_str());
  return kExitUsage;
}

int Failure(std::string_view command, const std::string& text) {
  std::fprintf(stderr, "image-forge-cli: %.*s: %s\n", static_cast<int>(command.size()),
               command.data(), text.c_str());
  return kExitFailed;
}

}  // namespace forge::cli
