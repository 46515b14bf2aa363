#pragma once

#include "engine/Error.hpp"
#include "engine/FailureReporter.hpp"
#include "engine/NameFormat.hpp"
#include "engine/Settings.hpp"
#include "platform/FileSystem.hpp"

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brindleaf {

// One row of the rename plan: an entry's current name and the name it is to receive.
// Names are bytes and compare as bytes, as the file system compares them.
struct OriginalRenamedPair {
    std::string original;
    std::string renamed;

    friend bool operator==(const OriginalRenamedPair&, const OriginalRenamedPair&) = default;
};

struct OriginalRenamedPairHash {
    std::size_t operator()(const OriginalRenamedPair& pair) const noexcept;
};

// The first entry of a plan that cannot receive its new name.
struct UnusableName {
    std::size_t position;
    std::string original;
    NameProblem problem;
};

// Pairs each name with its new name by position. A name too long to build is left empty;
// findUnusableName() reports such plans before anything is moved.
std::vector<OriginalRenamedPair> pairNames(std::span<const std::string> names,
                                           const NameFormat& format);

std::optional<UnusableName> findUnusableName(std::span<const std::string> names,
                                             const NameFormat& format, std::size_t longestName);

// An opened folder's ordered names with the format that names them, checked: every new
// name can be given.
struct FolderPlan {
    std::vector<std::string> names;
    NameFormat format;
    // Beside each name, the inode number its listing reported: what the journal knows the
    // entry by.
    std::vector<std::uint64_t> inodes;
};

std::expected<FolderPlan, Error> planOpenedFolder(FileSystem& fileSystem, const UniqueFd& folder,
                                                  const Settings& settings);

// A folder opened and planned in one step. The descriptor stays open so that the moves
// reach the very folder that was listed.
struct OpenedPlan {
    UniqueFd folder;
    FolderPlan plan;
};

std::expected<OpenedPlan, Error> planFolder(FileSystem& fileSystem, const Settings& settings);

// A fingerprint of ordered names: equal for the same names in the same order, and with all
// but certainty different otherwise. It tells a plan apart from the one a preview showed
// without holding both.
std::uint64_t fingerprintOf(std::span<const std::string> names);

// Lists the folder afresh and pairs every name with its new name. A listing failure is
// reported and gives an empty plan.
std::vector<OriginalRenamedPair>
originalRenamedPairs(const Settings& settings, FileSystem& fileSystem, FailureReporter& reporter);

} // namespace brindleaf
