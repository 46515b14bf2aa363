#include "engine/Dates.hpp"

namespace brindleaf {

std::optional<std::optional<std::int64_t>> DateCache::takenOf(const EntryStamp& stamp) const {
    const std::scoped_lock lock(mutex_);
    const auto found = known_.find(stamp.inode);
    if (found == known_.end() || found->second.size != stamp.size ||
        found->second.modified != stamp.modifiedNanoseconds) {
        return std::nullopt;
    }
    return found->second.taken;
}

void DateCache::remember(const EntryStamp& stamp, std::optional<std::int64_t> taken) {
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

std::optional<std::int64_t> dateTakenOf(FileSystem& fileSystem, const UniqueFd& folder,
                                        const std::string& name, const EntryStamp& stamp,
                                        DateCache* cache) {
    if (cache != nullptr) {
        if (const auto known = cache->takenOf(stamp)) {
            return *known;
        }
    }
    const std::optional<std::int64_t> taken = fileSystem.dateTaken(folder, name);
    if (cache != nullptr) {
        cache->remember(stamp, taken);
    }
    return taken;
}

} // namespace

std::optional<std::vector<EntryDate>>
readDates(FileSystem& fileSystem, const UniqueFd& folder, std::span<const std::string> names,
          std::span<const std::uint8_t> folders, Order order, DateCache* cache,
          RunObserver& observer) {
    std::vector<EntryDate> dates(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i % entriesPerTelling == 0 && !observer.proceed(i, names.size())) {
            return std::nullopt;
        }
        const auto stamp = fileSystem.stamp(folder, names[i]);
        if (!stamp) {
            continue;
        }
        dates[i].modified = stamp->modifiedNanoseconds;
        const bool isFolder = i < folders.size() && folders[i] != 0;
        if (order == Order::Taken && !isFolder) {
            dates[i].taken = dateTakenOf(fileSystem, folder, names[i], *stamp, cache);
        }
    }
    return dates;
}

} // namespace brindleaf
