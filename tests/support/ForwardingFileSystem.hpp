#pragma once

#include "platform/PosixFileSystem.hpp"

namespace brindleaf::testing {

// The real file system, for test doubles to override one operation at a time.
class ForwardingFileSystem : public FileSystem {
public:
    std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) override {
        return real_.openFolder(path);
    }
    std::expected<FolderEntries, std::error_code> readEntries(const UniqueFd& folder) override {
        return real_.readEntries(folder);
    }
    MoveResult move(const UniqueFd& folder, const std::string& from,
                    const std::string& to) override {
        return real_.move(folder, from, to);
    }
    std::error_code flush(const UniqueFd& folder) override { return real_.flush(folder); }
    std::expected<FolderIdentity, std::error_code> identify(const UniqueFd& folder) override {
        return real_.identify(folder);
    }
    std::expected<EntryStamp, std::error_code> stamp(const UniqueFd& folder,
                                                     const std::string& name) override {
        return real_.stamp(folder, name);
    }
    std::size_t longestName(const UniqueFd& folder) override { return real_.longestName(folder); }

private:
    PosixFileSystem real_;
};

} // namespace brindleaf::testing
