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
// down so a run lasts long enough to be watched and stopped; listings can be slowed too.
// It lists a folder in name order, whatever order the real one keeps, so that the order of
// the moves, which follows the listing, is the same on every file system. Also counts what
// was asked.
class FaultyFileSystem final : public ForwardingFileSystem {
public:
    FaultyFileSystem() = default;
    explicit FaultyFileSystem(std::chrono::microseconds perMove, std::set<std::size_t> failing = {})
        : failingMoves(std::move(failing)), perMove_(perMove) {}

    std::set<std::size_t> failingMoves;
    std::chrono::milliseconds perListing{0};
    std::atomic<std::size_t> opens = 0;
    std::size_t moves = 0;

    std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) override {
        ++opens;
        return ForwardingFileSystem::openFolder(path);
    }
    std::expected<FolderEntries, std::error_code> readEntries(const UniqueFd& folder) override {
        std::this_thread::sleep_for(perListing);
        auto listed = ForwardingFileSystem::readEntries(folder);
        if (listed) {
            inNameOrder(*listed);
        }
        return listed;
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
    static void inNameOrder(FolderEntries& entries) {
        std::vector<std::size_t> order(entries.names.size());
        std::iota(order.begin(), order.end(), 0);
        std::ranges::sort(order, {}, [&](std::size_t i) { return entries.names[i]; });
        FolderEntries sorted;
        for (const std::size_t i : order) {
            sorted.names.push_back(entries.names[i]);
            sorted.inodes.push_back(entries.inodes[i]);
            sorted.folders.push_back(entries.folders[i]);
        }
        entries = std::move(sorted);
    }

    std::chrono::microseconds perMove_{0};
};

} // namespace brindleaf::testing
