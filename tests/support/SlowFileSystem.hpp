#pragma once

#include "platform/PosixFileSystem.hpp"

#include <chrono>
#include <thread>

namespace brindleaf::testing {

// The real file system with every move slowed down, so a run lasts long enough to be
// watched and cancelled.
class SlowFileSystem final : public FileSystem {
public:
    explicit SlowFileSystem(std::chrono::microseconds perMove) : perMove_(perMove) {}

    std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) override {
        return real_.openFolder(path);
    }
    std::expected<std::vector<std::string>, std::error_code>
    readNames(const UniqueFd& folder) override {
        return real_.readNames(folder);
    }
    std::error_code move(const UniqueFd& folder, const std::string& from,
                         const std::string& to) override {
        std::this_thread::sleep_for(perMove_);
        return real_.move(folder, from, to);
    }
    std::size_t longestName(const UniqueFd& folder) override { return real_.longestName(folder); }

private:
    PosixFileSystem real_;
    std::chrono::microseconds perMove_;
};

} // namespace brindleaf::testing
