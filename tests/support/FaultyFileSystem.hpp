#pragma once

#include "support/ForwardingFileSystem.hpp"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <set>
#include <thread>

namespace brindleaf::testing {

// The real file system, except that chosen moves (counted from 1, in the order they are
// asked for) fail with EIO without touching anything, and that every move can be slowed
// down so a run lasts long enough to be watched and stopped; listings can be slowed too.
// Also counts what was asked.
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
        return ForwardingFileSystem::readEntries(folder);
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
    std::chrono::microseconds perMove_{0};
};

} // namespace brindleaf::testing
