#pragma once

#include "platform/FileSystem.hpp"
#include "platform/MoveCalls.hpp"

#include <memory>

namespace brindleaf {

class PosixFileSystem final : public FileSystem {
public:
    PosixFileSystem() : calls_(std::make_unique<MoveCalls>()) {}
    // For tests: moves through system calls that can be made to fail.
    explicit PosixFileSystem(std::unique_ptr<MoveCalls> calls) : calls_(std::move(calls)) {}

    std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) override;
    std::expected<FolderEntries, std::error_code> readEntries(const UniqueFd& folder) override;
    MoveResult move(const UniqueFd& folder, const std::string& from,
                    const std::string& to) override;
    std::error_code flush(const UniqueFd& folder) override;
    std::expected<FolderIdentity, std::error_code> identify(const UniqueFd& folder) override;
    std::expected<EntryStamp, std::error_code> stamp(const UniqueFd& folder,
                                                     const std::string& name) override;
    std::optional<PhotoDate> dateTaken(const UniqueFd& folder, const std::string& name) override;
    std::size_t longestName(const UniqueFd& folder) override;
    void recordPlaceholdersIn(PlaceholderLog* log) override { placeholders_ = log; }
    std::error_code removeEmpty(const UniqueFd& folder, const std::string& name,
                                bool isFolder) override;

private:
    std::unique_ptr<MoveCalls> calls_;
    PlaceholderLog* placeholders_ = nullptr;
};

} // namespace brindleaf
