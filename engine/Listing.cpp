#include "engine/Listing.hpp"

#include "engine/Ordering.hpp"

#include <algorithm>
#include <filesystem>

namespace brindleaf {

namespace {

Error cannotRead(const std::string& targetDir, std::error_code code) {
    Error error;
    error.kind = ErrorKind::CannotReadFolder;
    error.code = code;
    error.path = targetDir;
    return error;
}

std::string standardFolderPath(const std::string& targetDir) {
    return std::filesystem::path(targetDir).lexically_normal().string();
}

} // namespace

std::expected<UniqueFd, Error> openTargetFolder(FileSystem& fileSystem,
                                                const std::string& targetDir) {
    auto folder = fileSystem.openFolder(standardFolderPath(targetDir));
    if (!folder) {
        return std::unexpected(cannotRead(targetDir, folder.error()));
    }
    return std::move(*folder);
}

namespace {

std::expected<FolderEntries, Error> readListing(FileSystem& fileSystem, const UniqueFd& folder,
                                                const Settings& settings) {
    auto entries = fileSystem.readEntries(folder);
    if (!entries) {
        return std::unexpected(cannotRead(settings.targetDir, entries.error()));
    }
    if (const auto finder = std::ranges::find(entries->names, finderMetadataName);
        finder != entries->names.end()) {
        const auto position = finder - entries->names.begin();
        entries->names.erase(finder);
        entries->inodes.erase(entries->inodes.begin() + position);
        entries->folders.erase(entries->folders.begin() + position);
    }
    return std::move(*entries);
}

} // namespace

std::expected<FolderEntries, Error> listOpenedFolder(FileSystem& fileSystem, const UniqueFd& folder,
                                                     const Settings& settings) {
    auto entries = readListing(fileSystem, folder, settings);
    if (entries) {
        sortFolderEntries(*entries, settings);
    }
    return entries;
}

std::expected<ListedNames, Error> listOpenedFileNames(FileSystem& fileSystem,
                                                      const UniqueFd& folder,
                                                      const Settings& settings, DateCache* dates,
                                                      RunObserver& observer) {
    auto entries = readListing(fileSystem, folder, settings);
    if (!entries) {
        return std::unexpected(entries.error());
    }
    ListedNames listed;
    listed.names = std::move(entries->names);
    listed.folders = std::move(entries->folders);
    entries->inodes = {};
    listed.listingPositions.resize(listed.names.size());
    for (std::size_t i = 0; i < listed.listingPositions.size(); ++i) {
        listed.listingPositions[i] = static_cast<std::uint32_t>(i);
    }
    if (settings.order != Order::Name) {
        // Read in listing order, the order the file system keeps the entries in.
        if (auto read = readDates(fileSystem, folder, listed.names, listed.folders, settings.order,
                                  dates, observer)) {
            listed.dates = std::move(*read);
            listed.datesRead = settings.order;
        }
    }
    reorderListedNames(listed, settings);
    return listed;
}

} // namespace brindleaf
