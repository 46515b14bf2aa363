#pragma once

#include "engine/Dates.hpp"
#include "engine/Error.hpp"
#include "engine/Ordering.hpp"
#include "engine/Settings.hpp"
#include "platform/FileSystem.hpp"

#include <expected>
#include <string>
#include <vector>

namespace brindleaf {

// macOS leaves this file in folders it has shown; it is never renamed.
inline constexpr std::string_view finderMetadataName = ".DS_Store";

// Opens the folder of `targetDir`, with "." and ".." components and doubled separators
// resolved lexically, or why it cannot be read.
std::expected<UniqueFd, Error> openTargetFolder(FileSystem& fileSystem,
                                                const std::string& targetDir);

// The entries of an opened folder, ".DS_Store" dropped, in the order the toggles choose.
std::expected<FolderEntries, Error> listOpenedFolder(FileSystem& fileSystem, const UniqueFd& folder,
                                                     const Settings& settings);

// The ordered names of the folder of `settings.targetDir`, opened already, each with its
// position in the folder's listing (for reorderListedNames()) and whether it is a folder,
// with the dates its order needs read through `dates`. When `observer` stops the reading, the
// listing comes without dates: its `datesRead` tells.
std::expected<ListedNames, Error> listOpenedFileNames(FileSystem& fileSystem,
                                                      const UniqueFd& folder,
                                                      const Settings& settings, DateCache* dates,
                                                      RunObserver& observer);

} // namespace brindleaf
