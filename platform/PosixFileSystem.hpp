#pragma once

#include "platform/FileSystem.hpp"

namespace brindleaf {

class PosixFileSystem final : public FileSystem {
public:
    std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) override;
    std::expected<FolderEntries, std::error_code> readEntries(const UniqueFd& folder) override;
    std::error_code move(const UniqueFd& folder, const std::string& from,
                         const std::string& to) override;
    std::error_code flush(const UniqueFd& folder) override;
    std::expected<FolderIdentity, std::error_code> identify(const UniqueFd& folder) override;
    std::expected<EntryStamp, std::error_code> stamp(const UniqueFd& folder,
                                                     const std::string& name) override;
    std::size_t longestName(const UniqueFd& folder) override;
};

} // namespace brindleaf
