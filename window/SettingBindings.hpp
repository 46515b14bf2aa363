#pragma once

#include "engine/Settings.hpp"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

namespace brindleaf {

// Each setting the window edits, once: its label key (translated in ContentView's
// context), the object name of its widget, and the field of the settings record it writes.
struct TextBinding {
    const char* key;
    const char* objectName;
    std::string Settings::*field;
};

inline constexpr std::array textBindings{
    TextBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "StartIndex"), "startIndexField",
                &Settings::startIndex},
    TextBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "NumDigits"), "digitsField",
                &Settings::digits},
    TextBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "Prefix"), "prefixField",
                &Settings::prefix},
    TextBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "Postfix"), "postfixField",
                &Settings::postfix},
    // Shown after the toggles, with those that choose the entries.
    TextBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "Only extensions"),
                "onlyExtensionsField", &Settings::onlyExtensions},
};

// Ordering toggles put the names in another order; the naming toggle only renames them.
enum class ToggleEffect { Reorders, Renames };

struct ToggleBinding {
    const char* key;
    const char* objectName;
    bool Settings::*field;
    ToggleEffect effect;
};

inline constexpr std::array toggleBindings{
    ToggleBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "NatSort"), "natSortToggle",
                  &Settings::isNatSortOn, ToggleEffect::Reorders},
    ToggleBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "SortReplacingRemovingSpace"),
                  "spaceRemoveToggle", &Settings::isCompareBySpaceRemoveOn, ToggleEffect::Reorders},
    ToggleBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "SortReplacingSpaceToUnderbar"),
                  "spaceReplaceToggle", &Settings::isCompareBySpaceReplaceOn,
                  ToggleEffect::Reorders},
    ToggleBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "Reverse"), "reverseToggle",
                  &Settings::isReverse, ToggleEffect::Reorders},
    ToggleBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "Keep extensions"),
                  "keepExtensionsToggle", &Settings::isKeepExtensionsOn, ToggleEffect::Renames},
    ToggleBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "Keep related files together"),
                  "keepRelatedToggle", &Settings::isKeepRelatedOn, ToggleEffect::Reorders},
    ToggleBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "Skip hidden entries"),
                  "skipHiddenToggle", &Settings::isSkipHiddenOn, ToggleEffect::Reorders},
    ToggleBinding{QT_TRANSLATE_NOOP("brindleaf::ContentView", "Files only"), "filesOnlyToggle",
                  &Settings::isFilesOnlyOn, ToggleEffect::Reorders},
};

// Where the binding of `field` stands among the bindings of its kind.
constexpr std::size_t bindingOf(std::string Settings::*field) {
    return static_cast<std::size_t>(std::ranges::find(textBindings, field, &TextBinding::field) -
                                    textBindings.begin());
}
constexpr std::size_t bindingOf(bool Settings::*field) {
    return static_cast<std::size_t>(
        std::ranges::find(toggleBindings, field, &ToggleBinding::field) - toggleBindings.begin());
}

} // namespace brindleaf
