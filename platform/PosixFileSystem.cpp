#include "platform/PosixFileSystem.hpp"

#include "platform/NoReplaceMove.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <memory>
#include <string_view>

namespace brindleaf {

namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

struct DirCloser {
    void operator()(DIR* dir) const noexcept { ::closedir(dir); }
};
using DirStream = std::unique_ptr<DIR, DirCloser>;

bool isSelfOrParent(std::string_view name) {
    return name == "." || name == "..";
}

} // namespace

std::expected<UniqueFd, std::error_code> PosixFileSystem::openFolder(const std::string& path) {
    UniqueFd folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        return std::unexpected(lastError());
    }
    return folder;
}

std::expected<std::vector<std::string>, std::error_code>
PosixFileSystem::readNames(const UniqueFd& folder) {
    // The stream takes ownership of a duplicate so the caller's descriptor stays open for
    // the moves that follow.
    UniqueFd copy(::fcntl(folder.get(), F_DUPFD_CLOEXEC, 0));
    if (!copy.valid()) {
        return std::unexpected(lastError());
    }
    DirStream stream(::fdopendir(copy.get()));
    if (!stream) {
        return std::unexpected(lastError());
    }
    static_cast<void>(copy.release());
    // A duplicate shares the read position; start from the first entry every time.
    ::rewinddir(stream.get());

    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = ::readdir(stream.get())) {
        const std::string_view name(entry->d_name);
        if (!isSelfOrParent(name)) {
            names.emplace_back(name);
        }
    }
    if (errno != 0) {
        return std::unexpected(lastError());
    }
    return names;
}

std::error_code PosixFileSystem::move(const UniqueFd& folder, const std::string& from,
                                      const std::string& to) {
    return moveNoReplace(folder.get(), from, to);
}

std::size_t PosixFileSystem::longestName(const UniqueFd& folder) {
    const long limit = ::fpathconf(folder.get(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
}

} // namespace brindleaf
