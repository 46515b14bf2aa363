#include "engine/Arrangement.hpp"

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

// Puts each group of related files together, in the place of its first member, and gives
// every member its group's number and the ending it keeps. Files whose names differ only in
// their extensions are related; so is a sidecar named after a whole file name
// ("IMG_1.CR2.xmp" after "IMG_1.CR2"), which keeps both extensions.
void groupRelated(std::span<const std::string> names, std::span<const std::uint8_t> folders,
                  std::vector<std::uint32_t>& chosen, Arrangement& arrangement) {
    const auto isFolder = [&](std::uint32_t entry) {
        return entry < folders.size() && folders[entry] != 0;
    };
    std::unordered_map<std::string_view, std::size_t> fileAt;
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        if (!isFolder(chosen[k])) {
            fileAt.emplace(names[chosen[k]], k);
        }
    }
    // The length of the name's stem its group is known by.
    std::vector<std::size_t> stemLength(chosen.size(), std::string::npos);
    const auto stemOf = [&](std::size_t k, const auto& self) -> std::size_t {
        if (stemLength[k] != std::string::npos) {
            return stemLength[k];
        }
        const std::string_view name = names[chosen[k]];
        const std::string_view extension =
            isFolder(chosen[k]) ? std::string_view{} : NameFormat::extensionOf(name);
        const std::string_view base = name.substr(0, name.size() - extension.size());
        const auto file = extension.empty() ? fileAt.end() : fileAt.find(base);
        stemLength[k] = file != fileAt.end() ? self(file->second, self) : base.size();
        return stemLength[k];
    };
    std::unordered_map<std::string_view, std::size_t> groupOf;
    std::vector<std::vector<std::uint32_t>> groups;
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        const std::string_view stem =
            std::string_view(names[chosen[k]]).substr(0, stemOf(k, stemOf));
        const bool ownGroup = isFolder(chosen[k]);
        const auto [group, added] =
            ownGroup ? std::pair{groupOf.end(), true} : groupOf.try_emplace(stem, groups.size());
        if (added) {
            groups.emplace_back();
        }
        groups[ownGroup ? groups.size() - 1 : group->second].push_back(
            static_cast<std::uint32_t>(k));
    }
    std::vector<std::uint32_t> grouped;
    grouped.reserve(chosen.size());
    for (std::uint32_t number = 0; number < groups.size(); ++number) {
        for (const std::uint32_t k : groups[number]) {
            grouped.push_back(chosen[k]);
            arrangement.numbers.push_back(number);
            arrangement.endings.push_back(
                static_cast<std::uint16_t>(names[chosen[k]].size() - stemLength[k]));
        }
    }
    chosen = std::move(grouped);
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
        // would match other names than the user meant, and a slash ends no name.
        const bool usable =
            !extension.empty() &&
            extension.find_first_of(std::string_view("*?[/\0", 5)) == std::string_view::npos;
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
    std::vector<std::uint32_t> chosen;
    std::vector<std::uint32_t> leftOut;
    for (std::uint32_t entry = 0; entry < names.size(); ++entry) {
        const bool isFolder = entry < folders.size() && folders[entry] != 0;
        (choice.takes(names[entry], isFolder) ? chosen : leftOut).push_back(entry);
    }
    if (settings.order != Order::Name && dates.size() == names.size()) {
        // The entries come in name order, reversed when asked: a stable sort keeps that
        // order among equal dates.
        std::ranges::stable_sort(chosen, [&](std::uint32_t a, std::uint32_t b) {
            const std::int64_t first = dateUsed(dates[a], settings.order);
            const std::int64_t second = dateUsed(dates[b], settings.order);
            return settings.isReverse ? second < first : first < second;
        });
    }
    if (settings.isKeepRelatedOn) {
        groupRelated(names, folders, chosen, arrangement);
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
