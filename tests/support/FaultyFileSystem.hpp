#pragma once

#include "support/ForwardingFileSystem.hpp"

#include <cstddef>
#include <set>

namespace brindleaf::testing {

// The real file system, except that chosen moves (counted from 1, in the order they are
// asked for) fail with EIO without touching anything. Also counts what was asked of it.
class FaultyFileSystem final : public ForwardingFileSystem {
public:
    std::set<std::size_t> failingMoves;
    std::size_t opens = 0;
    std::size_t moves = 0;

    std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) override {
        ++opens;
        return ForwardingFileSystem::openFolder(path);
    }
    MoveResult move(const UniqueFd& folder, const std::string& from,
                    const std::string& to) override {
        if (failingMoves.contains(++moves)) {
            return {std::make_error_code(std::errc::io_error)};
        }
        return ForwardingFileSystem::move(folder, from, to);
    }
};

} // namespace brindleaf::testing
