#pragma once

#include "support/ForwardingFileSystem.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <numeric>
#include <set>
#include <thread>

namespace brindleaf::testing {

// The real file system, except that chosen moves (counted from 1, in the order they are
// asked for) fail with EIO without touching anything, and that every move can be slowed
// down so a run lasts long enough to be watched and stopped; listings and reading dates
// taken can be slowed too. Also counts what was asked.
class FaultyFileSystem final : public ForwardingFileSystem {
public:
    FaultyFileSystem() = default;
    explicit FaultyFileSystem(std::chrono::microseconds perMove, std::set<std::size_t> failing = {})
        : failingMoves(std::move(failing)), perMove_(perMove) {}

    std::set<std::size_t> failingMoves;
    std::chrono::milliseconds perListing{0};
    std::chrono::microseconds perDateTaken{0};
    // Reports inode numbers that rise in name order, so that the order of the moves, which
    // follows inode numbers, is the same on every file system. Undo cannot match a journal
    // of such numbers to the real entries.
    bool inodesRiseWithNames = false;
    std::atomic<std::size_t> opens = 0;
    std::size_t moves = 0;
    std::atomic<std::size_t> datesTaken = 0;

    std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) override {
        ++opens;
        return ForwardingFileSystem::openFolder(path);
    }
    std::expected<FolderEntries, std::error_code> readEntries(const UniqueFd& folder) override {
        std::this_thread::sleep_for(perListing);
        auto listed = ForwardingFileSystem::readEntries(folder);
        if (listed && inodesRiseWithNames) {
            renumberInNameOrder(*listed);
        }
        return listed;
    }
    std::optional<PhotoDate> dateTaken(const UniqueFd& folder, const std::string& name) override {
        std::this_thread::sleep_for(perDateTaken);
        ++datesTaken;
        return ForwardingFileSystem::dateTaken(folder, name);
    }
    MoveResult move(const UniqueFd& folder, const std::string& from,
                    const std::string& to) override {
        std::this_thread::sleep_for(perMove_);
        if (failingMoves.contains(++moves)) {
            return {std::make_error_code(std::errc::io_error)};
        }
        return ForwardingFileSystem::move(folder, from, to);
    }

private:
    static void renumberInNameOrder(FolderEntries& entries) {
        std::vector<std::size_t> byName(entries.names.size());
        std::iota(byName.begin(), byName.end(), 0);
        std::ranges::sort(byName, {}, [&](std::size_t i) { return entries.names[i]; });
        std::vector<std::uint64_t> numbers = entries.inodes;
        std::ranges::sort(numbers);
        for (std::size_t rank = 0; rank < byName.size(); ++rank) {
            entries.inodes[byName[rank]] = numbers[rank];
        }
    }

    std::chrono::microseconds perMove_{0};
};

} // namespace brindleaf::testing
