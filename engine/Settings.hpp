#pragma once

#include <string>

namespace brindleaf {

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
    std::string targetDir;

    friend bool operator==(const Settings&, const Settings&) = default;
};

} // namespace brindleaf
