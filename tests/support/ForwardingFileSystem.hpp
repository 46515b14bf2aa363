#pragma once

#include "platform/PosixFileSystem.hpp"

namespace brindleaf::testing {

// The real file system, for test doubles to override one operation at a time.
class ForwardingFileSystem : public FileSystem {
public:
    std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) override {
        return real_.openFolder(path);
    }
    std::expected<std::vector<std::string>, std::error_code>
    readNames(const UniqueFd& folder) override {
        return real_.readNames(folder);
    }
    std::error_code move(const UniqueFd& folder, const std::string& from,
                         const std::string& to) override {
        return real_.move(folder, from, to);
    }
    std::size_t longestName(const UniqueFd& folder) override { return real_.longestName(folder); }

private:
    PosixFileSystem real_;
};

} // namespace brindleaf::testing
