#pragma once

#include "platform/FileSystem.hpp"

namespace brindleaf {

class PosixFileSystem final : public FileSystem {
public:
    std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) override;
    std::expected<std::vector<std::string>, std::error_code>
    readNames(const UniqueFd& folder) override;
    std::error_code move(const UniqueFd& folder, const std::string& from,
                         const std::string& to) override;
    std::size_t longestName(const UniqueFd& folder) override;
};

} // namespace brindleaf
