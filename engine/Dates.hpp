#pragma once

#include "engine/Arrangement.hpp"
#include "engine/RunObserver.hpp"
#include "engine/Settings.hpp"
#include "platform/FileSystem.hpp"

#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace brindleaf {

// Dates taken already read, known by the entry's inode number, size and modified time, so
// that a folder listed again, or planned for a run, reads only the files that changed. It
// holds one folder's entries; clear it for another. Shared by threads.
class DateCache {
public:
    [[nodiscard]] std::optional<std::optional<PhotoDate>> takenOf(const EntryStamp& stamp) const;
    void remember(const EntryStamp& stamp, const std::optional<PhotoDate>& taken);
    void clear();

private:
    struct Known {
        std::uint64_t size = 0;
        std::int64_t modified = 0;
        std::optional<PhotoDate> taken;
    };
    mutable std::mutex mutex_;
    std::unordered_map<std::uint64_t, Known> known_;
};

// Whether numbering in `order` needs dates that `read` did not include.
[[nodiscard]] inline bool needsDates(Order order, Order read) {
    return order > read;
}

// The dates of each entry that `order` needs: modified times, and for Taken also the dates
// taken of files. An entry that cannot be read has neither, which is no error. Progress is
// told in entries, from several threads at once for large folders; when `observer` stops
// the reading, returns nothing. `fileSystem` and `cache` are called from those threads too.
[[nodiscard]] std::optional<std::vector<EntryDate>>
readDates(FileSystem& fileSystem, const UniqueFd& folder, std::span<const std::string> names,
          std::span<const std::uint8_t> folders, Order order, DateCache* cache,
          RunObserver& observer);

} // namespace brindleaf
