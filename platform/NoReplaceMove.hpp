#pragma once

#include <string>
#include <system_error>

namespace brindleaf {

// Moves `from` to `to` inside the folder `folderFd`, failing with EEXIST when `to` exists.
// Uses the kernel's atomic no-replace rename where the file system supports it and
// otherwise falls back to moveWithoutRenameFlag().
std::error_code moveNoReplace(int folderFd, const std::string& from, const std::string& to);

// The fallback for file systems that refuse the no-replace flag. A non-directory is hard
// linked under the new name and then unlinked; a directory first claims the new name with
// an empty placeholder directory (mkdir fails if the name is taken), then moves over it.
// Neither path can replace an entry that someone else owns.
std::error_code moveWithoutRenameFlag(int folderFd, const std::string& from, const std::string& to);

} // namespace brindleaf
