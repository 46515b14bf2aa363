#include "engine/Arrangement.hpp"

#include "engine/Cameras.hpp"

#include <algorithm>
#include <unordered_map>

namespace brindleaf {

namespace {

constexpr std::string_view listSeparators = ", \t";

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto lower = [](char byte) {
        return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
    };
    return std::ranges::equal(a, b, {}, lower, lower);
}

// Which entries the choices give numbers.
class EntryChoice {
public:
    explicit EntryChoice(const Settings& settings)
        : skipsHidden_(settings.isSkipHiddenOn), filesOnly_(settings.isFilesOnlyOn),
          extensions_(readExtensionList(settings.onlyExtensions).extensions),
          // A list of nothing usable (",", ".") takes no file rather than every entry.
          onlyListed_(settings.onlyExtensions.find_first_not_of(" \t") != std::string::npos) {}

    [[nodiscard]] bool takesEverything() const {
        return !skipsHidden_ && !filesOnly_ && !onlyListed_;
    }

    [[nodiscard]] bool takes(std::string_view name, bool isFolder) const {
        if ((skipsHidden_ && name.starts_with('.')) || (filesOnly_ && isFolder)) {
            return false;
        }
        if (!onlyListed_) {
            return true;
        }
        return !isFolder && std::ranges::any_of(extensions_, [&](std::string_view wanted) {
            return hasExtension(name, wanted);
        });
    }

private:
    bool skipsHidden_;
    bool filesOnly_;
    std::vector<std::string_view> extensions_;
    bool onlyListed_;
};

char lowerAscii(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

std::string lowered(std::string_view text) {
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(), lowerAscii);
    return lower;
}

// Related files, found among all entries (given in name order) before any is chosen, so
// that the choice can take or leave each group whole.
struct RelatedGroups {
    // Each group's members, in name order; the groups in the order of their first members.
    std::vector<std::vector<std::uint32_t>> groups;
    // Beside each entry, how many bytes at the end of its name it keeps after the postfix.
    std::vector<std::uint16_t> endings;
};

// Files whose names differ only in their extensions, compared without regard to ASCII case,
// are related; so is a sidecar named after a whole file name ("IMG_1.CR2.xmp" after
// "IMG_1.CR2"), which keeps both extensions. Two members that both have a date taken are
// related only when taken in the same second: a raw file and its JPEG are, another
// camera's photo with the same counter is not. A member without one, such as a sidecar,
// follows the file whose name it carries, else the first dated member of its stem. Folders
// are related to nothing.
RelatedGroups findRelated(std::span<const std::string> names, std::span<const std::uint8_t> folders,
                          std::span<const std::optional<std::int64_t>> takenSecond) {
    const std::size_t count = names.size();
    const auto isFolder = [&](std::size_t entry) {
        return entry < folders.size() && folders[entry] != 0;
    };
    const auto secondOf = [&](std::size_t entry) -> std::optional<std::int64_t> {
        return entry < takenSecond.size() ? takenSecond[entry] : std::nullopt;
    };
    std::unordered_map<std::string, std::uint32_t> fileNamed;
    for (std::uint32_t entry = 0; entry < count; ++entry) {
        if (!isFolder(entry)) {
            fileNamed.emplace(lowered(names[entry]), entry);
        }
    }
    // Which file each sidecar follows, and the stem every file's group is known by.
    constexpr std::uint32_t none = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> follows(count, none);
    std::vector<std::size_t> stemLength(count, std::string::npos);
    const auto stemOf = [&](std::uint32_t entry, const auto& self) -> std::size_t {
        if (stemLength[entry] != std::string::npos) {
            return stemLength[entry];
        }
        const std::string_view name = names[entry];
        const std::string_view extension =
            isFolder(entry) ? std::string_view{} : NameFormat::extensionOf(name);
        const std::string_view base = name.substr(0, name.size() - extension.size());
        const auto file = extension.empty() ? fileNamed.end() : fileNamed.find(lowered(base));
        if (file != fileNamed.end()) {
            follows[entry] = file->second;
            stemLength[entry] = self(file->second, self);
        } else {
            stemLength[entry] = base.size();
        }
        return stemLength[entry];
    };
    std::vector<std::uint32_t> groupOf(count, none);
    std::vector<std::vector<std::uint32_t>> groups;
    // Beside each stem, its groups: those of dated members by their second, and one for
    // members without a date while no dated member has come.
    struct StemGroups {
        std::vector<std::pair<std::int64_t, std::uint32_t>> bySecond;
        std::uint32_t undated = none;
    };
    std::unordered_map<std::string, StemGroups> stems;
    const auto join = [&](std::uint32_t entry, std::uint32_t group) {
        if (group == none) {
            group = static_cast<std::uint32_t>(groups.size());
            groups.emplace_back();
        }
        groupOf[entry] = group;
        groups[group].push_back(entry);
        return group;
    };
    const auto stemKey = [&](std::uint32_t entry) {
        return lowered(std::string_view(names[entry]).substr(0, stemOf(entry, stemOf)));
    };
    // Dated members first, each by its second.
    for (std::uint32_t entry = 0; entry < count; ++entry) {
        if (isFolder(entry)) {
            join(entry, none);
            continue;
        }
        const auto second = secondOf(entry);
        if (!second) {
            continue;
        }
        StemGroups& stem = stems[stemKey(entry)];
        const auto same = std::ranges::find(stem.bySecond, *second,
                                            &std::pair<std::int64_t, std::uint32_t>::first);
        if (same != stem.bySecond.end()) {
            join(entry, same->second);
        } else {
            stem.bySecond.emplace_back(*second, join(entry, none));
        }
    }
    // Then those without a date: after the file they carry the name of, or the stem's first
    // dated member.
    const auto placeUndated = [&](std::uint32_t entry, const auto& self) -> std::uint32_t {
        if (groupOf[entry] != none) {
            return groupOf[entry];
        }
        stemOf(entry, stemOf);
        if (follows[entry] != none) {
            return join(entry, self(follows[entry], self));
        }
        StemGroups& stem = stems[stemKey(entry)];
        if (!stem.bySecond.empty()) {
            return join(entry, stem.bySecond.front().second);
        }
        stem.undated = join(entry, stem.undated);
        return stem.undated;
    };
    for (std::uint32_t entry = 0; entry < count; ++entry) {
        placeUndated(entry, placeUndated);
    }
    // Groups in the order of their first members, members in name order.
    for (auto& group : groups) {
        std::ranges::sort(group);
    }
    std::ranges::sort(groups, {}, [](const auto& group) { return group.front(); });
    RelatedGroups related{std::move(groups), std::vector<std::uint16_t>(count)};
    for (std::uint32_t entry = 0; entry < count; ++entry) {
        related.endings[entry] =
            static_cast<std::uint16_t>(names[entry].size() - stemOf(entry, stemOf));
    }
    return related;
}

// Numbers related files together: a group is numbered when the choices take any of its
// members, and then all of them are, so that no sidecar is left behind under its old name.
// Groups stand in the order of their earliest date taken (else their earliest date used),
// ties in the name order; members by date, ties in the name order.
std::vector<std::uint32_t> arrangeRelated(const Settings& settings,
                                          std::span<const std::string> names,
                                          std::span<const std::uint8_t> folders,
                                          const EntryChoice& choice, std::span<const UsedDate> used,
                                          Arrangement& arrangement) {
    std::vector<std::optional<std::int64_t>> takenSecond(used.size());
    for (std::size_t entry = 0; entry < used.size(); ++entry) {
        if (used[entry].source != DateSource::Modified) {
            const std::int64_t instant = used[entry].instant;
            const std::int64_t second = instant / 1'000'000'000;
            takenSecond[entry] =
                instant < 0 && second * 1'000'000'000 != instant ? second - 1 : second;
        }
    }
    RelatedGroups related = findRelated(names, folders, takenSecond);
    std::vector<std::vector<std::uint32_t>> numbered;
    std::vector<std::uint32_t> leftOut;
    for (auto& group : related.groups) {
        const bool taken = std::ranges::any_of(group, [&](std::uint32_t entry) {
            return choice.takes(names[entry], entry < folders.size() && folders[entry] != 0);
        });
        if (taken) {
            numbered.push_back(std::move(group));
        } else {
            leftOut.insert(leftOut.end(), group.begin(), group.end());
        }
    }
    if (!used.empty()) {
        const auto before = [&](std::int64_t first, std::int64_t second) {
            return settings.isReverse ? second < first : first < second;
        };
        const auto dateOf = [&](const std::vector<std::uint32_t>& group) {
            return used[memberDatingGroup(group, used, settings.isReverse)].instant;
        };
        for (auto& group : numbered) {
            std::ranges::stable_sort(group, before,
                                     [&](std::uint32_t entry) { return used[entry].instant; });
        }
        std::vector<std::int64_t> groupDate(numbered.size());
        std::vector<std::uint32_t> byDate(numbered.size());
        for (std::uint32_t group = 0; group < numbered.size(); ++group) {
            groupDate[group] = dateOf(numbered[group]);
            byDate[group] = group;
        }
        std::ranges::stable_sort(byDate, before,
                                 [&](std::uint32_t group) { return groupDate[group]; });
        placeInArrangedOrder(numbered, byDate);
    }
    std::vector<std::uint32_t> arranged;
    arranged.reserve(names.size());
    for (std::uint32_t number = 0; number < numbered.size(); ++number) {
        for (const std::uint32_t entry : numbered[number]) {
            arranged.push_back(entry);
            arrangement.numbers.push_back(number);
            arrangement.endings.push_back(related.endings[entry]);
        }
    }
    arrangement.numbered = arranged.size();
    std::ranges::sort(leftOut);
    arranged.insert(arranged.end(), leftOut.begin(), leftOut.end());
    return arranged;
}

bool arrangesByName(const Settings& settings, const EntryChoice& choice) {
    return settings.order == Order::Name && !settings.isKeepRelatedOn && choice.takesEverything();
}

} // namespace

ExtensionList readExtensionList(std::string_view list) {
    ExtensionList read;
    while (!list.empty()) {
        const std::size_t end = std::min(list.find_first_of(listSeparators), list.size());
        const std::string_view item = list.substr(0, end);
        list.remove_prefix(std::min(end + 1, list.size()));
        if (item.empty()) {
            continue;
        }
        std::string_view extension = item;
        if (extension.starts_with("*.")) {
            extension.remove_prefix(2);
        } else if (extension.starts_with('.')) {
            extension.remove_prefix(1);
        }
        // A pattern is matched as the extension it ends with; one that holds more than that
        // would match other names than the user meant, and a slash ends no name. Nor does
        // a user mean a name ending in dots: "..", "jpg." or "tar..gz" name no extension.
        const bool usable =
            !extension.empty() &&
            extension.find_first_of(std::string_view("*?[/\0", 5)) == std::string_view::npos &&
            !extension.starts_with('.') && !extension.ends_with('.') &&
            extension.find("..") == std::string_view::npos;
        (usable ? read.extensions : read.unusable).push_back(usable ? extension : item);
    }
    return read;
}

bool hasExtension(std::string_view name, std::string_view extension) {
    // A name that is only a dot and the extension (".jpg") is hidden, with no extension.
    if (name.size() < extension.size() + 2) {
        return false;
    }
    const std::size_t dot = name.size() - extension.size() - 1;
    return name[dot] == '.' && equalIgnoringAsciiCase(name.substr(dot + 1), extension);
}

std::int64_t dateUsed(const EntryDate& date, Order order) {
    return order == Order::Taken && date.taken ? *date.taken : date.modified;
}

bool arrangesByName(const Settings& settings) {
    return arrangesByName(settings, EntryChoice(settings));
}

std::vector<std::uint32_t> arrange(const Settings& settings, std::span<const std::string> names,
                                   std::span<const std::uint8_t> folders,
                                   std::span<const EntryDate> dates, Arrangement& arrangement) {
    arrangement = {};
    const EntryChoice choice(settings);
    if (arrangesByName(settings, choice)) {
        return {};
    }
    const bool byDate = settings.order != Order::Name && dates.size() == names.size();
    const std::vector<UsedDate> used =
        byDate ? datesUsed(dates, settings).dates : std::vector<UsedDate>{};
    if (settings.isKeepRelatedOn) {
        return arrangeRelated(settings, names, folders, choice, used, arrangement);
    }
    std::vector<std::uint32_t> chosen;
    std::vector<std::uint32_t> leftOut;
    for (std::uint32_t entry = 0; entry < names.size(); ++entry) {
        const bool isFolder = entry < folders.size() && folders[entry] != 0;
        (choice.takes(names[entry], isFolder) ? chosen : leftOut).push_back(entry);
    }
    if (byDate) {
        // The entries come in name order, reversed when asked: a stable sort keeps that
        // order among equal dates.
        std::ranges::stable_sort(chosen, [&](std::uint32_t a, std::uint32_t b) {
            const std::int64_t first = used[a].instant;
            const std::int64_t second = used[b].instant;
            return settings.isReverse ? second < first : first < second;
        });
    }
    arrangement.numbered = chosen.size();
    chosen.insert(chosen.end(), leftOut.begin(), leftOut.end());
    return chosen;
}

std::string Arrangement::newNameOf(const NameFormat& format, std::size_t position,
                                   std::string_view name, bool isFolder) const {
    if (!isNumbered(position)) {
        return std::string(name);
    }
    const std::size_t number = numbers.empty() ? position : numbers[position];
    const std::string_view ending = endings.empty() ? format.keptExtension(name, isFolder)
                                                    : name.substr(name.size() - endings[position]);
    return format.renamedWith(number, ending).value_or(std::string{});
}

std::optional<NameProblem> Arrangement::problemOf(const NameFormat& format, std::size_t position,
                                                  std::string_view name, bool isFolder,
                                                  std::size_t longestName) const {
    const std::size_t number = numbers.empty() ? position : numbers[position];
    const std::size_t ending =
        endings.empty() ? format.keptExtension(name, isFolder).size() : endings[position];
    return format.problemWith(number, ending, longestName);
}

} // namespace brindleaf
