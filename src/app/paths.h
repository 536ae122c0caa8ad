// Where the program and its per-user data live, and small path helpers.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace forge {

// Folder of the running program, ending in a separator ("/opt/forge/"). Computed once; later
// calls only read the cached value, so any thread may call it after start-up.
std::filesystem::path GetModuleFolder();

// Makes GetModuleFolder answer `folder` from now on. For tests that run the program's code
// against a prepared program folder; call it before anything reads the program folder.
void OverrideModuleFolder(const std::filesystem::path& folder);

// $XDG_DATA_HOME when set to an absolute path, else ~/.local/share; no trailing separator.
// Empty when neither can be found.
std::filesystem::path GetAppDataFolder();

// The per-user folder of this program: <app data>/Norvessa Image Forge/.
std::filesystem::path GetProgramDataFolder();

// Creates every folder of `path` that is followed by a separator ("/" or "\"): "a/b/c" creates
// a and a/b, "a/b/c/" creates all three. True when all of them exist afterwards.
bool CreateFolderPath(std::string_view path);

// The path up to and including its last separator ("/" or "\"); the input when it has none.
std::string GetFolderOfPath(std::string_view path);

// The last component without its extension: "/x/my.disc.iso" gives "my.disc".
std::string GetFileTitleOfPath(std::string_view path);

}  // namespace forge
