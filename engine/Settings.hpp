#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brindleaf {

// One camera's clock set right for the order, by the camera's name: `zone` ("+01:00") reads
// the times of its photos that carry no offset tag, `shift` ("-0:03:12") corrects a clock
// that was off. Either may be empty. Files are never written: only the order uses them.
struct CameraClock {
    std::string camera;
    std::string zone;
    std::string shift;

    friend bool operator==(const CameraClock&, const CameraClock&) = default;
};

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
    std::vector<CameraClock> cameraClocks;
    std::string targetDir;

    friend bool operator==(const Settings&, const Settings&) = default;
};

} // namespace brindleaf
