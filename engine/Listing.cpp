#include "engine/Listing.hpp"

#include "engine/Ordering.hpp"

#include <algorithm>
#include <filesystem>

namespace brindleaf {

namespace {

Error cannotRead(const std::string& targetDir, std::error_code code) {
    return {code, "Cannot read folder \"" + targetDir + "\": " + code.message()};
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

std::expected<std::vector<std::string>, Error>
listOpenedFolder(FileSystem& fileSystem, const UniqueFd& folder, const Settings& settings) {
    auto names = fileSystem.readNames(folder);
    if (!names) {
        return std::unexpected(cannotRead(settings.targetDir, names.error()));
    }
    std::erase(*names, finderMetadataName);
    sortFileNames(*names, settings);
    return std::move(*names);
}

std::expected<std::vector<std::string>, Error> listFileNames(const Settings& settings,
                                                             FileSystem& fileSystem) {
    if (settings.targetDir.empty()) {
        return std::vector<std::string>{};
    }
    auto folder = openTargetFolder(fileSystem, settings.targetDir);
    if (!folder) {
        return std::unexpected(folder.error());
    }
    return listOpenedFolder(fileSystem, *folder, settings);
}

} // namespace brindleaf
