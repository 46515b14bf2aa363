#pragma once

#include "support/ForwardingFileSystem.hpp"

#include <optional>
#include <string>
#include <vector>

namespace brindleaf::testing {

// The real file system, except that it can pretend that inode numbers are made up afresh
// at mount time, as on FAT and exFAT, that the folder's disk came back as another device,
// and that the folder cannot be flushed; it notes the moves and flushes asked of it.
class DoubleFileSystem final : public ForwardingFileSystem {
public:
    bool inodesAreStable = true;
    std::uint64_t inodeShift = 0;
    std::uint64_t deviceShift = 0;
    // Replaces the file system's identity, 0 for one that has none.
    std::optional<std::uint64_t> volume;
    bool flushFails = false;
    std::vector<std::string> calls;

    MoveResult move(const UniqueFd& folder, const std::string& from,
                    const std::string& to) override {
        calls.emplace_back("move");
        return ForwardingFileSystem::move(folder, from, to);
    }
    std::error_code flush(const UniqueFd& folder) override {
        calls.emplace_back("flush");
        return flushFails ? std::make_error_code(std::errc::io_error)
                          : ForwardingFileSystem::flush(folder);
    }
    std::expected<FolderIdentity, std::error_code> identify(const UniqueFd& folder) override {
        auto identity = ForwardingFileSystem::identify(folder);
        identity->inodesAreStable = inodesAreStable;
        identity->device += deviceShift;
        identity->volume = volume.value_or(identity->volume);
        return identity;
    }
    std::expected<FolderEntries, std::error_code> readEntries(const UniqueFd& folder) override {
        auto entries = ForwardingFileSystem::readEntries(folder);
        for (std::uint64_t& inode : entries->inodes) {
            inode += inodeShift;
        }
        return entries;
    }
};

} // namespace brindleaf::testing
