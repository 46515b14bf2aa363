#pragma once

#include "platform/UniqueFd.hpp"

#include <cstddef>
#include <expected>
#include <string>
#include <system_error>
#include <vector>

namespace brindleaf {

// The file-system operations the rename engine needs. Everything goes through one opened
// folder descriptor, so a path that is swapped or re-linked after opening cannot redirect
// later reads or moves to another folder. Names are raw bytes, never re-encoded.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) = 0;

    // Every entry directly inside the folder, "." and ".." excluded, in the order the
    // file system delivers them.
    virtual std::expected<std::vector<std::string>, std::error_code>
    readNames(const UniqueFd& folder) = 0;

    // Moves `from` to `to` inside the folder. Never replaces an existing `to`.
    virtual std::error_code move(const UniqueFd& folder, const std::string& from,
                                 const std::string& to) = 0;

    // The longest name, in bytes, that the folder's file system can hold.
    virtual std::size_t longestName(const UniqueFd& folder) = 0;
};

} // namespace brindleaf
