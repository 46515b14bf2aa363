#include "engine/Ordering.hpp"

#include "engine/TwoHalves.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace brindleaf {

namespace {

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// Order-preserving and self-delimiting: counts below 255 take one byte, larger ones a
// marker byte and four bytes, big end first.
char* writeCount(char* out, std::size_t count) {
    if (count < 0xFF) {
        *out++ = static_cast<char>(count);
        return out;
    }
    *out++ = static_cast<char>(0xFF);
    for (int shift = 24; shift >= 0; shift -= 8) {
        *out++ = static_cast<char>((count >> shift) & 0xFF);
    }
    return out;
}

char* writeComparisonKey(char* out, std::string_view name, const Settings& settings) {
    for (const char c : name) {
        if (c != ' ') {
            *out++ = c;
        } else if (!settings.isCompareBySpaceRemoveOn) {
            *out++ = settings.isCompareBySpaceReplaceOn ? '_' : ' ';
        }
    }
    return out;
}

// A digit run becomes '0' (so it sorts against other bytes as its first digit would), the
// count of its significant digits, then those digits: a longer number is larger. Leading
// zeros do not count; if any were dropped, their counts follow after a NUL as a tie-break
// for keys that are otherwise equal.
char* writeNaturalKey(char* out, std::string_view key) {
    const char* text = key.data();
    const std::size_t size = key.size();
    bool droppedZeros = false;
    for (std::size_t i = 0; i < size;) {
        if (!isAsciiDigit(text[i])) {
            *out++ = text[i++];
            continue;
        }
        const std::size_t start = i;
        while (i < size && text[i] == '0') {
            ++i;
        }
        const std::size_t significant = i;
        while (i < size && isAsciiDigit(text[i])) {
            ++i;
        }
        droppedZeros = droppedZeros || significant != start;
        *out++ = '0';
        out = writeCount(out, i - significant);
        out = std::copy(text + significant, text + i, out);
    }
    if (!droppedZeros) {
        return out;
    }
    *out++ = '\0';
    for (std::size_t i = 0; i < size;) {
        if (!isAsciiDigit(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < size && text[i] == '0') {
            ++i;
        }
        out = writeCount(out, i - start);
        while (i < size && isAsciiDigit(text[i])) {
            ++i;
        }
    }
    return out;
}

// Room enough for any key of a name of `size` bytes: every byte a digit run of its own
// costs three bytes in the key and one more in the tie-break.
std::size_t longestKey(std::size_t size) {
    return 8 * size + 16;
}

// Appends sort keys to one buffer, so a whole listing's keys cost few allocations and sit
// next to each other in memory.
class SortKeyWriter {
public:
    explicit SortKeyWriter(const Settings& settings) : settings_(settings) {}

    // Appends the key of `name` to `out` and returns its length.
    std::size_t append(std::string& out, std::string_view name) {
        const std::size_t offset = out.size();
        const bool spacesCount = name.find(' ') != std::string_view::npos;
        if (settings_.isNatSortOn && spacesCount) {
            scratch_.resize_and_overwrite(name.size(), [&](char* buffer, std::size_t) {
                return static_cast<std::size_t>(writeComparisonKey(buffer, name, settings_) -
                                                buffer);
            });
            name = scratch_;
        }
        out.resize_and_overwrite(offset + longestKey(name.size()), [&](char* buffer, std::size_t) {
            char* start = buffer + offset;
            char* end = settings_.isNatSortOn ? writeNaturalKey(start, name)
                                              : writeComparisonKey(start, name, settings_);
            return static_cast<std::size_t>(end - buffer);
        });
        return out.size() - offset;
    }

private:
    const Settings& settings_;
    std::string scratch_;
};

// A key, led by its first sixteen bytes as two numbers so that most comparisons never reach
// into the buffer that holds it.
struct KeyRef {
    std::uint64_t head;
    std::uint64_t next;
    const char* key;
    std::uint32_t length;
    std::uint32_t index;
};

constexpr std::size_t inlineBytes = 16;

std::uint64_t bigEndianAt(std::string_view key, std::size_t from) {
    std::uint64_t value = 0;
    for (std::size_t i = from; i < from + 8; ++i) {
        value = (value << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0U);
    }
    return value;
}

// Plain byte order of the two keys; ties broken by listing position, so the sort is stable.
// The names stand in listing order unless `listingPositions` says where each was listed.
class KeyOrder {
public:
    KeyOrder(bool reverse, const std::uint32_t* listingPositions)
        : reverse_(reverse), listingPositions_(listingPositions) {}

    bool operator()(const KeyRef& a, const KeyRef& b) const {
        const int order = compare(a, b);
        if (order != 0) {
            return reverse_ ? order > 0 : order < 0;
        }
        if (listingPositions_ != nullptr) {
            return listingPositions_[a.index] < listingPositions_[b.index];
        }
        return a.index < b.index;
    }

private:
    static int compare(const KeyRef& a, const KeyRef& b) {
        if (a.head != b.head) {
            return a.head < b.head ? -1 : 1;
        }
        if (a.next != b.next) {
            return a.next < b.next ? -1 : 1;
        }
        // The first sixteen bytes are equal, zero padding included: when either key ends
        // within them, it is the leading part of the other, and the shorter comes first.
        if (std::min(a.length, b.length) <= inlineBytes) {
            return a.length == b.length ? 0 : (a.length < b.length ? -1 : 1);
        }
        const std::string_view first(a.key + inlineBytes, a.length - inlineBytes);
        const std::string_view second(b.key + inlineBytes, b.length - inlineBytes);
        return first.compare(second);
    }

    bool reverse_;
    const std::uint32_t* listingPositions_;
};

// The keys of a run of names, in one buffer, and the run sorted by them.
struct SortedRun {
    std::string keys;
    std::vector<KeyRef> refs;
};

SortedRun sortRun(const std::vector<std::string>& names, std::size_t first, std::size_t last,
                  const Settings& settings, const std::uint32_t* listingPositions) {
    SortedRun run;
    std::size_t nameBytes = 0;
    for (std::size_t i = first; i < last; ++i) {
        nameBytes += names[i].size();
    }
    run.keys.reserve(nameBytes + nameBytes / 2);
    run.refs.reserve(last - first);
    SortKeyWriter writer(settings);
    std::vector<std::uint32_t> offsets;
    offsets.reserve(last - first);
    for (std::size_t i = first; i < last; ++i) {
        offsets.push_back(static_cast<std::uint32_t>(run.keys.size()));
        const std::size_t length = writer.append(run.keys, names[i]);
        const std::string_view key(run.keys.data() + offsets.back(), length);
        run.refs.push_back({bigEndianAt(key, 0), bigEndianAt(key, 8), nullptr,
                            static_cast<std::uint32_t>(length), static_cast<std::uint32_t>(i)});
    }
    // The buffer has stopped growing: its addresses are final now.
    for (std::size_t i = 0; i < run.refs.size(); ++i) {
        run.refs[i].key = run.keys.data() + offsets[i];
    }
    std::sort(run.refs.begin(), run.refs.end(), KeyOrder(settings.isReverse, listingPositions));
    return run;
}

// Below this many names a second thread costs more than it saves.
constexpr std::size_t namesWorthASecondThread = 50'000;

// Sorts the two halves at once, then merges them.
std::vector<KeyRef> sortedOrder(const std::vector<std::string>& names, const Settings& settings,
                                const std::uint32_t* listingPositions) {
    SortedRun halves[2];
    const std::size_t middle =
        inTwoHalves(names.size(), namesWorthASecondThread, [&](std::size_t begin, std::size_t end) {
            halves[begin == 0 ? 0 : 1] = sortRun(names, begin, end, settings, listingPositions);
        });
    if (middle == names.size()) {
        return std::move(halves[0].refs);
    }
    std::vector<KeyRef> merged(names.size());
    std::merge(halves[0].refs.begin(), halves[0].refs.end(), halves[1].refs.begin(),
               halves[1].refs.end(), merged.begin(),
               KeyOrder(settings.isReverse, listingPositions));
    return merged;
}

// Moves each name to its sorted place, following the permutation's cycles, so no second
// list of names is built. A place is marked done by pointing its entry at itself.
void placeInOrder(std::vector<std::string>& names, std::vector<KeyRef>& refs) {
    for (std::size_t start = 0; start < names.size(); ++start) {
        if (refs[start].index == start) {
            continue;
        }
        std::string carried = std::move(names[start]);
        std::size_t place = start;
        for (;;) {
            const std::size_t source = refs[place].index;
            refs[place].index = static_cast<std::uint32_t>(place);
            if (source == start) {
                names[place] = std::move(carried);
                break;
            }
            names[place] = std::move(names[source]);
            place = source;
        }
    }
}

// Puts what stands beside each name in the names' new order; small values are copied.
template <typename Value>
void placeBeside(std::vector<Value>& values, const std::vector<KeyRef>& refs) {
    if (values.empty()) {
        return;
    }
    std::vector<Value> ordered;
    ordered.reserve(values.size());
    for (const KeyRef& ref : refs) {
        ordered.push_back(values[ref.index]);
    }
    values = std::move(ordered);
}

} // namespace

std::string sortKey(std::string_view name, const Settings& settings) {
    std::string key;
    SortKeyWriter(settings).append(key, name);
    return key;
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
    // Equal keys keep their listing order in both directions: reverse flips the test,
    // never the list.
    std::vector<KeyRef> order = sortedOrder(names, settings, nullptr);
    placeInOrder(names, order);
}

void sortFolderEntries(FolderEntries& entries, const Settings& settings) {
    if (entries.names.size() < 2) {
        return;
    }
    std::vector<KeyRef> order = sortedOrder(entries.names, settings, nullptr);
    placeBeside(entries.inodes, order);
    placeBeside(entries.folders, order);
    placeInOrder(entries.names, order);
}

void reorderListedNames(ListedNames& listed, const Settings& settings) {
    if (listed.names.size() >= 2) {
        // Ties are broken by listing position, not by where the names stand now: the order
        // is the one a fresh listing would get, while names already near their places stay
        // cheap to sort.
        std::vector<KeyRef> order =
            sortedOrder(listed.names, settings, listed.listingPositions.data());
        placeBeside(listed.listingPositions, order);
        placeBeside(listed.folders, order);
        placeBeside(listed.dates, order);
        placeInOrder(listed.names, order);
    }
    const std::vector<std::uint32_t> arranged =
        arrange(settings, listed.names, listed.folders, listed.dates, listed.arrangement);
    placeInArrangedOrder(listed.listingPositions, arranged);
    placeInArrangedOrder(listed.folders, arranged);
    placeInArrangedOrder(listed.dates, arranged);
    placeInArrangedOrder(listed.names, arranged);
    listed.shown = listed.dates.size() == listed.names.size()
                       ? shownDates(listed.dates, listed.arrangement, settings)
                       : DatesUsed{};
}

} // namespace brindleaf
