#pragma once

#include "platform/FileSystem.hpp"
#include "platform/MoveCalls.hpp"

#include <string>

namespace brindleaf {

// Moves `from` to `to` inside the folder `folderFd`, failing with EEXIST when `to` exists.
// Uses the kernel's atomic no-replace rename. Where the file system refuses that flag (FAT,
// exFAT and other FUSE mounts, some network file systems), the new name is first claimed
// with an exclusive create (an empty file, or an empty folder for a folder) and the entry
// is renamed onto that placeholder; on failure the placeholder is removed again. Neither
// way can replace an entry that the move did not create itself.
// Each placeholder is recorded in `log`, when given, before it is made.
MoveResult moveNoReplace(MoveCalls& calls, int folderFd, const std::string& from,
                         const std::string& to, PlaceholderLog* log = nullptr);

} // namespace brindleaf
