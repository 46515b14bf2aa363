#pragma once

#include "engine/Arrangement.hpp"
#include "engine/Dates.hpp"
#include "engine/Error.hpp"
#include "engine/NameFormat.hpp"
#include "engine/Settings.hpp"
#include "platform/FileSystem.hpp"

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brindleaf {

// The first entry of a plan that cannot receive its new name.
struct UnusableName {
    std::size_t position;
    std::string original;
    NameProblem problem;
};

// The first entry that cannot receive its new name, from the entries' arranged names and
// their folder flags (empty: none is a folder).
std::optional<UnusableName> findUnusableName(std::span<const std::string> names,
                                             std::span<const std::uint8_t> folders,
                                             const Arrangement& arrangement,
                                             const NameFormat& format, std::size_t longestName);

// Whether any entry's new name differs from its current one. Stops at the first that does,
// which is nearly always the first entry.
bool changesAnyName(std::span<const std::string> names, std::span<const std::uint8_t> folders,
                    const Arrangement& arrangement, const NameFormat& format);

// An opened folder's ordered names with the format that names them, checked: every new
// name can be given.
struct FolderPlan {
    std::vector<std::string> names;
    NameFormat format;
    // Beside each name, the inode number its listing reported: what the journal knows the
    // entry by.
    std::vector<std::uint64_t> inodes;
    std::vector<std::uint8_t> folders;
    // The entries' positions in the order of their inode numbers, in which file systems
    // rename fastest: their records of the entries lie near each other. Empty when no
    // inode numbers are known.
    std::vector<std::uint32_t> moveOrder;
    // Which entries get numbers, and which numbers; the others keep their names.
    Arrangement arrangement;
    // Beside each name, its dates, when the order is by a date; else empty.
    std::vector<EntryDate> dates;

    // The new name of the entry at `position`: its own when it is left out.
    [[nodiscard]] std::string newNameAt(std::size_t position) const {
        const bool isFolder = position < folders.size() && folders[position] != 0;
        return arrangement.newNameOf(format, position, names[position], isFolder);
    }
};

// A folder opened and planned in one step. The descriptor stays open so that the moves
// reach the very folder that was listed.
struct OpenedPlan {
    UniqueFd folder;
    FolderPlan plan;
};

// Opens, lists, arranges and checks the folder of `settings.targetDir`, or says why it
// cannot be renamed. Dates taken are read through `dates` where given, so that what a
// preview read already is not read again.
std::expected<OpenedPlan, Error> planFolder(FileSystem& fileSystem, const Settings& settings,
                                            DateCache* dates = nullptr);

// A fingerprint of ordered names: equal for the same names in the same order, and with all
// but certainty different otherwise. It tells a plan apart from the one a preview showed
// without holding both.
std::uint64_t fingerprintOf(std::span<const std::string> names);

} // namespace brindleaf
