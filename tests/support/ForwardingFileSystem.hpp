#pragma once

#include "platform/PosixFileSystem.hpp"

namespace brindleaf::testing {

// The real file system, or another double, for test doubles to override one operation at
// a time.
class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem* inner = nullptr)
        : inner_(inner != nullptr ? *inner : real_) {}

    std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) override {
        return inner_.openFolder(path);
    }
    std::expected<FolderEntries, std::error_code> readEntries(const UniqueFd& folder) override {
        return inner_.readEntries(folder);
    }
    MoveResult move(const UniqueFd& folder, const std::string& from,
                    const std::string& to) override {
        return inner_.move(folder, from, to);
    }
    std::error_code flush(const UniqueFd& folder) override { return inner_.flush(folder); }
    std::expected<FolderIdentity, std::error_code> identify(const UniqueFd& folder) override {
        return inner_.identify(folder);
    }
    std::expected<EntryStamp, std::error_code> stamp(const UniqueFd& folder,
                                                     const std::string& name) override {
        return inner_.stamp(folder, name);
    }
    std::optional<PhotoDate> dateTaken(const UniqueFd& folder, const std::string& name) override {
        return inner_.dateTaken(folder, name);
    }
    std::size_t longestName(const UniqueFd& folder) override { return inner_.longestName(folder); }
    void recordPlaceholdersIn(PlaceholderLog* log) override { inner_.recordPlaceholdersIn(log); }
    std::error_code removeEmpty(const UniqueFd& folder, const std::string& name,
                                bool isFolder) override {
        return inner_.removeEmpty(folder, name, isFolder);
    }

private:
    PosixFileSystem real_;
    FileSystem& inner_;
};

} // namespace brindleaf::testing
