#pragma once

#include "engine/Settings.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace brindleaf {

// The text a name is compared by: spaces removed, then any left turned into underscores,
// as the two space toggles ask.
std::string comparisonKey(std::string_view name, const Settings& settings);

// A byte string whose plain lexicographic order is the natural order of `key`: runs of ASCII
// digits compare by numeric value, whatever their length, everything else byte by byte.
// Keys that differ only in leading zeros are ordered by them (fewer first), so the order is
// total on distinct keys. Keys must not contain NUL, which no file name does.
std::string naturalSortKey(std::string_view key);

// The full sort key of a name under the current toggles (reverse excepted).
std::string sortKey(std::string_view name, const Settings& settings);

// True when `first` is to stand before `second`. Names whose keys compare equal stand
// before each other in neither direction, reversed or not.
bool fileNameComesBefore(const Settings& settings, std::string_view first, std::string_view second);

// Stable sort by fileNameComesBefore, deriving each name's key once.
void sortFileNames(std::vector<std::string>& names, const Settings& settings);

} // namespace brindleaf
