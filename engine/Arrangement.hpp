#pragma once

#include "engine/NameFormat.hpp"
#include "engine/Settings.hpp"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brindleaf {

// The dates an entry can be numbered by, in nanoseconds since the epoch.
struct EntryDate {
    std::int64_t modified = 0;
    // When the photo or video was taken, from its own metadata, as read (see PhotoDate);
    // none when it holds no such date or was not read for it.
    std::optional<std::int64_t> taken;
    // With a date taken: the camera's clock reading as if UTC, the offset tag's seconds east
    // of UTC, the camera and its body serial number, as PhotoDate holds them.
    std::int64_t clock = 0;
    std::optional<std::int32_t> offset;
    std::string camera;
    std::string serial;
};

// The date `order` numbers the entry by: the date taken, where known, falls back to the
// modified time.
[[nodiscard]] std::int64_t dateUsed(const EntryDate& date, Order order);

// Which of a listing's entries get numbers, sharing which numbers, keeping which endings.
// A default arrangement numbers every entry by its position, with the ending the format
// keeps.
struct Arrangement {
    // Entries before this position get new names; those after keep theirs.
    std::size_t numbered = std::numeric_limits<std::size_t>::max();
    // Beside each numbered entry, the position whose number it takes; empty: its own.
    std::vector<std::uint32_t> numbers;
    // Beside each numbered entry, how many bytes at the end of its name it keeps after the
    // postfix; empty: the extension the format keeps.
    std::vector<std::uint16_t> endings;

    [[nodiscard]] bool isNumbered(std::size_t position) const { return position < numbered; }
    [[nodiscard]] std::size_t leftOut(std::size_t entries) const {
        return entries > numbered ? entries - numbered : 0;
    }
    // The name the entry `name` at `position` is to have: its own when it is left out.
    [[nodiscard]] std::string newNameOf(const NameFormat& format, std::size_t position,
                                        std::string_view name, bool isFolder) const;
    // Why that name cannot be given, for a numbered entry.
    [[nodiscard]] std::optional<NameProblem> problemOf(const NameFormat& format,
                                                       std::size_t position, std::string_view name,
                                                       bool isFolder,
                                                       std::size_t longestName) const;
};

// The extensions a list of them names, as typed: "jpg", ".jpg" or "*.jpg", one or more dots
// inside ("tar.gz"), separated by commas or spaces, matched without regard to ASCII case.
struct ExtensionList {
    // Without the leading "*." or ".".
    std::vector<std::string_view> extensions;
    // Items that no name can end with (".", "*", "j?g", "a/b") or that end in dots rather
    // than an extension ("..", "jpg."), as typed. They match
    // nothing; a list of nothing else leaves every entry out.
    std::vector<std::string_view> unusable;
};

[[nodiscard]] ExtensionList readExtensionList(std::string_view list);

// Whether the name `name` of a file ends in "." and `extension`, with something before.
[[nodiscard]] bool hasExtension(std::string_view name, std::string_view extension);

// Whether the settings leave every entry numbered by its place in the name order.
[[nodiscard]] bool arrangesByName(const Settings& settings);

// Arranges entries given in name order, as `settings` choose: numbered entries first, by
// the chosen date where there is one (ties keep the name order), each group of related
// files together in the place of its first member; the entries left out last, in name
// order. Returns the entries' current positions in their new order, and fills `arrangement`.
// `dates` may be empty when the order is by name.
[[nodiscard]] std::vector<std::uint32_t> arrange(const Settings& settings,
                                                 std::span<const std::string> names,
                                                 std::span<const std::uint8_t> folders,
                                                 std::span<const EntryDate> dates,
                                                 Arrangement& arrangement);

// Puts `values` into `order`, as arrange() returned it; leaves an empty vector empty.
template <typename T>
void placeInArrangedOrder(std::vector<T>& values, std::span<const std::uint32_t> order) {
    if (values.empty() || order.empty()) {
        return;
    }
    std::vector<T> placed;
    placed.reserve(values.size());
    for (const std::uint32_t from : order) {
        placed.push_back(std::move(values[from]));
    }
    values = std::move(placed);
}

} // namespace brindleaf
