#include "engine/Dates.hpp"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace brindleaf {

std::optional<std::optional<PhotoDate>> DateCache::takenOf(const EntryStamp& stamp) const {
    const std::scoped_lock lock(mutex_);
    const auto found = known_.find(stamp.inode);
    if (found == known_.end() || found->second.size != stamp.size ||
        found->second.modified != stamp.modifiedNanoseconds) {
        return std::nullopt;
    }
    return found->second.taken;
}

void DateCache::remember(const EntryStamp& stamp, const std::optional<PhotoDate>& taken) {
    const std::scoped_lock lock(mutex_);
    known_[stamp.inode] = {stamp.size, stamp.modifiedNanoseconds, taken};
}

void DateCache::clear() {
    const std::scoped_lock lock(mutex_);
    known_.clear();
}

namespace {

// Progress is told this often: each telling crosses to the window's thread.
constexpr std::size_t entriesPerTelling = 256;

std::optional<PhotoDate> dateTakenOf(FileSystem& fileSystem, const UniqueFd& folder,
                                     const std::string& name, const EntryStamp& stamp,
                                     DateCache* cache) {
    if (cache != nullptr) {
        if (const auto known = cache->takenOf(stamp)) {
            return *known;
        }
    }
    std::optional<PhotoDate> taken = fileSystem.dateTaken(folder, name);
    if (cache != nullptr) {
        cache->remember(stamp, taken);
    }
    return taken;
}

// Dates taken are read this many files at a time: a card or a disk read cold answers
// several requests at once, and each file's wait is mostly for its first block.
constexpr std::size_t filesInFlight = 8;

// Does `work(begin, end)` over [0, size) in up to `parts` contiguous parts, each but the
// first on a thread of its own; a part whose thread cannot be started is done on this one.
template <typename Work> void inParts(std::size_t size, std::size_t parts, Work work) {
    parts = std::max<std::size_t>(1, std::min(parts, size));
    std::vector<std::jthread> threads;
    threads.reserve(parts - 1);
    for (std::size_t part = 1; part < parts; ++part) {
        const std::size_t begin = size * part / parts;
        const std::size_t end = size * (part + 1) / parts;
        try {
            threads.emplace_back([&work, begin, end] { work(begin, end); });
        } catch (const std::system_error&) {
            work(begin, end);
        }
    }
    work(std::size_t{0}, size / parts);
}

} // namespace

std::optional<std::vector<EntryDate>> readDates(FileSystem& fileSystem, const UniqueFd& folder,
                                                std::span<const std::string> names,
                                                std::span<const std::uint8_t> folders, Order order,
                                                DateCache* cache, RunObserver& observer) {
    std::vector<EntryDate> dates(names.size());
    std::atomic<std::size_t> done = 0;
    std::atomic<bool> stopped = false;
    // A date taken costs a file's open and its metadata's parse, tens of microseconds: two
    // threads halve the wait from a few dozen files on. A modified time is a stat.
    const std::size_t worthASecondThread = order == Order::Taken ? 64 : 50'000;
    const std::size_t parts = names.size() < worthASecondThread ? 1
                              : order == Order::Taken           ? filesInFlight
                                                                : 2;
    inParts(names.size(), parts, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end && !stopped; ++i) {
            if (done++ % entriesPerTelling == 0 && !observer.proceed(done, names.size())) {
                stopped = true;
                return;
            }
            const auto stamp = fileSystem.stamp(folder, names[i]);
            if (!stamp) {
                continue;
            }
            dates[i].modified = stamp->modifiedNanoseconds;
            const bool isFolder = i < folders.size() && folders[i] != 0;
            if (order == Order::Taken && !isFolder) {
                if (auto photo = dateTakenOf(fileSystem, folder, names[i], *stamp, cache)) {
                    dates[i].taken = photo->taken;
                    dates[i].clock = photo->clock;
                    dates[i].offset = photo->offset;
                    dates[i].camera = std::move(photo->camera);
                    dates[i].serial = std::move(photo->serial);
                }
            }
        }
    });
    if (stopped) {
        return std::nullopt;
    }
    return dates;
}

} // namespace brindleaf
