#pragma once

#include "platform/PosixFileSystem.hpp"

#include <cstddef>
#include <optional>
#include <set>

namespace brindleaf::testing {

// The real file system, except that chosen moves (counted from 1, in the order they are
// asked for) fail with EIO without touching anything. Also counts what was asked of it.
class FaultyFileSystem final : public FileSystem {
public:
    std::set<std::size_t> failingMoves;
    std::optional<std::size_t> longestNameOverride;
    std::size_t opens = 0;
    std::size_t moves = 0;

    std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) override {
        ++opens;
        return real_.openFolder(path);
    }
    std::expected<std::vector<std::string>, std::error_code>
    readNames(const UniqueFd& folder) override {
        return real_.readNames(folder);
    }
    std::error_code move(const UniqueFd& folder, const std::string& from,
                         const std::string& to) override {
        if (failingMoves.contains(++moves)) {
            return std::make_error_code(std::errc::io_error);
        }
        return real_.move(folder, from, to);
    }
    std::size_t longestName(const UniqueFd& folder) override {
        return longestNameOverride.value_or(real_.longestName(folder));
    }

private:
    PosixFileSystem real_;
};

} // namespace brindleaf::testing
