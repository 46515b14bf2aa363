#pragma once

#include "engine/Arrangement.hpp"
#include "engine/Cameras.hpp"
#include "engine/Settings.hpp"
#include "platform/FileSystem.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brindleaf {

// The bytes a name sorts by under the current toggles, reverse excepted: spaces removed or
// turned into underscores as the space toggles ask; with natural sort on, runs of ASCII
// digits compare by numeric value whatever their length (fewer leading zeros first when
// the values are equal), everything else byte by byte. Plain byte order of two keys is the
// order of their names. Names must not contain NUL, which no file name does.
std::string sortKey(std::string_view name, const Settings& settings);

// True when `first` is to stand before `second`. Names whose keys compare equal stand
// before each other in neither direction, reversed or not.
bool fileNameComesBefore(const Settings& settings, std::string_view first, std::string_view second);

// Stable sort by fileNameComesBefore, deriving each name's key once.
void sortFileNames(std::vector<std::string>& names, const Settings& settings);

// The same order, with each entry's inode number kept beside its name.
void sortFolderEntries(FolderEntries& entries, const Settings& settings);

// Names in an order the settings chose, each beside its position in the folder's listing,
// whether it is a folder and, once read, its dates.
struct ListedNames {
    std::vector<std::string> names;
    std::vector<std::uint32_t> listingPositions;
    std::vector<std::uint8_t> folders;
    std::vector<EntryDate> dates;
    // Which dates `dates` holds: none (Name), modified times, or both.
    Order datesRead = Order::Name;
    Arrangement arrangement;
    // While the order is by a date, the date each entry is shown with (its group's) and its
    // camera; else empty.
    DatesUsed shown;

    [[nodiscard]] bool isFolder(std::size_t position) const {
        return position < folders.size() && folders[position] != 0;
    }
    [[nodiscard]] std::string newNameAt(const NameFormat& format, std::size_t position) const {
        return arrangement.newNameOf(format, position, names[position], isFolder(position));
    }
};

// Orders the names for `settings` exactly as a fresh listing of the same folder would be
// ordered: names whose keys tie keep their listing order, whatever order they were in. Then
// arranges them as the choices say, by the dates the listing holds, and finds the dates to
// show.
void reorderListedNames(ListedNames& listed, const Settings& settings);

} // namespace brindleaf
