#pragma once

#include "engine/Settings.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brindleaf {

// Why a planned name cannot be given to an entry.
enum class NameProblem {
    ContainsSlash, // would reach outside the folder
    ContainsNul,   // cannot be passed to the system at all
    TooLong,       // longer, with the temporary suffix, than the folder's file system allows
    HeldByLeftOut, // the name of an entry left out of the numbering, which is never moved
};

// The part of a new name that the settings give, as the fields that hold them.
enum class NamePart { Prefix, Number, Postfix };

// How the entry at a position of the ordered listing is named: prefix, the number
// start + position padded with zeros to the width, postfix. Built once from the settings;
// the name of any position is then computed on its own, without building the others.
class NameFormat {
public:
    // Appended to a new name while the entries pass through their temporary names.
    static constexpr std::string_view temporarySuffix = "___temp";

    // No file system holds a name longer than this; longer names are never built.
    static constexpr std::uint64_t longestBuildableName = 4096;

    explicit NameFormat(const Settings& settings);

    [[nodiscard]] std::uint64_t width() const { return width_; }
    [[nodiscard]] bool keepsExtensions() const { return keepsExtensions_; }

    // The extension a file keeps: its last "." and what follows, where that is 1 to 10
    // characters without a space. A name whose only dot leads it (".bashrc") has none.
    static std::string_view extensionOf(std::string_view name);

    // Positions stay far below 2^63, so start + position never overflows 64 unsigned bits
    // and the numbers of one plan are distinct.
    [[nodiscard]] std::uint64_t numberAt(std::uint64_t position) const { return start_ + position; }

    // Length in bytes of the new name at `position`, computed without building it.
    [[nodiscard]] std::uint64_t lengthAt(std::uint64_t position) const;

    // The new name at `position`, or nothing when it is longer than longestBuildableName.
    [[nodiscard]] std::optional<std::string> renamedAt(std::uint64_t position) const;

    // Whether the name at `position`, and its temporary form, fit a folder whose longest
    // name is `longestName` bytes.
    [[nodiscard]] std::optional<NameProblem> problemAt(std::uint64_t position,
                                                       std::size_t longestName) const;

    // The same for the number of `position` followed by `ending`.
    [[nodiscard]] std::optional<std::string> renamedWith(std::uint64_t position,
                                                         std::string_view ending) const;
    [[nodiscard]] std::optional<NameProblem>
    problemWith(std::uint64_t position, std::size_t endingLength, std::size_t longestName) const;

    // The same for the entry `name` at `position`, with the extension it keeps.
    [[nodiscard]] std::optional<std::string> renamedFor(std::uint64_t position,
                                                        std::string_view name, bool isFolder) const;
    [[nodiscard]] std::optional<NameProblem> problemFor(std::uint64_t position,
                                                        std::string_view name, bool isFolder,
                                                        std::size_t longestName) const;

    // The part to change to mend `problem`: the text that holds the forbidden byte, or the
    // longest of the three parts of a name that is too long.
    [[nodiscard]] NamePart partAtFault(NameProblem problem) const;

    // The extension the entry keeps: none unless extensions are kept, none for a folder.
    [[nodiscard]] std::string_view keptExtension(std::string_view name, bool isFolder) const;

private:
    std::uint64_t start_ = 0;
    std::uint64_t width_ = 0;
    std::string prefix_;
    std::string postfix_;
    bool keepsExtensions_ = false;
    std::optional<NameProblem> fixedTextProblem_;
};

} // namespace brindleaf
