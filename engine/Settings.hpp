#pragma once

#include <cstdint>
#include <string>

namespace brindleaf {

// What the numbering follows: the names, or a date of each entry.
enum class Order : std::uint8_t { Name, Modified, Taken };

// Everything the user can set. Texts are UTF-8 and kept exactly as typed; `targetDir` holds
// the folder path's bytes. The numeric reading of `startIndex` and `digits` happens in
// NameFormat, never on entry.
struct Settings {
    std::string startIndex = "1";
    std::string digits = "4";
    std::string prefix;
    std::string postfix;
    bool isNatSortOn = true;
    bool isCompareBySpaceRemoveOn = true;
    bool isCompareBySpaceReplaceOn = false;
    bool isReverse = false;
    // Each file keeps its own extension after the postfix.
    bool isKeepExtensionsOn = false;
    Order order = Order::Name;
    // Which entries get numbers; the others keep their names. `onlyExtensions` is a list
    // as readExtensionList() reads it; blank takes every entry.
    bool isSkipHiddenOn = false;
    bool isFilesOnlyOn = false;
    std::string onlyExtensions;
    // Entries whose names differ only in their extensions share one number; implies keeping
    // extensions.
    bool isKeepRelatedOn = false;
    std::string targetDir;

    friend bool operator==(const Settings&, const Settings&) = default;
};

} // namespace brindleaf
