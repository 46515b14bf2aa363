#include "engine/Ordering.hpp"

#include <algorithm>
#include <cstdint>

namespace brindleaf {

namespace {

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// Order-preserving and self-delimiting: counts below 255 take one byte, larger ones a
// marker byte and four bytes, big end first.
void appendCount(std::string& out, std::size_t count) {
    if (count < 0xFF) {
        out.push_back(static_cast<char>(count));
        return;
    }
    out.push_back(static_cast<char>(0xFF));
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((count >> shift) & 0xFF));
    }
}

} // namespace

std::string comparisonKey(std::string_view name, const Settings& settings) {
    std::string key;
    key.reserve(name.size());
    for (const char c : name) {
        if (c != ' ') {
            key.push_back(c);
        } else if (!settings.isCompareBySpaceRemoveOn) {
            key.push_back(settings.isCompareBySpaceReplaceOn ? '_' : ' ');
        }
    }
    return key;
}

std::string naturalSortKey(std::string_view key) {
    // A digit run becomes '0' (so it sorts against other bytes as its first digit would),
    // the count of its significant digits, then those digits: a longer number is larger.
    // Leading zeros do not count; if any were dropped, their counts follow after a NUL as a
    // tie-break for keys that are otherwise equal.
    std::string out;
    out.reserve(key.size() + 8);
    std::string zeroCounts;
    bool droppedZeros = false;
    for (std::size_t i = 0; i < key.size();) {
        if (!isAsciiDigit(key[i])) {
            out.push_back(key[i++]);
            continue;
        }
        std::size_t end = i;
        while (end < key.size() && isAsciiDigit(key[end])) {
            ++end;
        }
        std::size_t significant = i;
        while (significant < end && key[significant] == '0') {
            ++significant;
        }
        out.push_back('0');
        appendCount(out, end - significant);
        out.append(key.substr(significant, end - significant));
        appendCount(zeroCounts, significant - i);
        droppedZeros = droppedZeros || significant != i;
        i = end;
    }
    if (droppedZeros) {
        out.push_back('\0');
        out += zeroCounts;
    }
    return out;
}

std::string sortKey(std::string_view name, const Settings& settings) {
    std::string key = comparisonKey(name, settings);
    return settings.isNatSortOn ? naturalSortKey(key) : key;
}

bool fileNameComesBefore(const Settings& settings, std::string_view first,
                         std::string_view second) {
    const std::string firstKey = sortKey(first, settings);
    const std::string secondKey = sortKey(second, settings);
    return settings.isReverse ? secondKey < firstKey : firstKey < secondKey;
}

void sortFileNames(std::vector<std::string>& names, const Settings& settings) {
    if (names.size() < 2) {
        return;
    }
    struct Keyed {
        std::string key;
        std::uint32_t index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        keyed.push_back({sortKey(names[i], settings), static_cast<std::uint32_t>(i)});
    }
    // Equal keys keep their listing order in both directions: reverse flips the test,
    // never the list.
    if (settings.isReverse) {
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const Keyed& a, const Keyed& b) { return b.key < a.key; });
    } else {
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    }
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const Keyed& k : keyed) {
        sorted.push_back(std::move(names[k.index]));
    }
    names = std::move(sorted);
}

} // namespace brindleaf
