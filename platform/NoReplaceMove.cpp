#include "platform/NoReplaceMove.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace brindleaf {

namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

bool flagUnsupported(int error) {
#if defined(__APPLE__)
    return error == ENOTSUP;
#else
    return error == EINVAL || error == ENOSYS;
#endif
}

int renameRefusingReplace(int fd, const char* from, const char* to) {
#if defined(__APPLE__)
    return ::renameatx_np(fd, from, fd, to, RENAME_EXCL);
#else
    return ::renameat2(fd, from, fd, to, RENAME_NOREPLACE);
#endif
}

std::error_code moveDirectoryOverPlaceholder(int fd, const char* from, const char* to) {
    if (::mkdirat(fd, to, 0700) != 0) {
        return lastError();
    }
    if (::renameat(fd, from, fd, to) != 0) {
        const auto error = lastError();
        ::unlinkat(fd, to, AT_REMOVEDIR);
        return error;
    }
    return {};
}

std::error_code moveByLinking(int fd, const char* from, const char* to) {
    if (::linkat(fd, from, fd, to, 0) != 0) {
        return lastError();
    }
    if (::unlinkat(fd, from, 0) != 0) {
        const auto error = lastError();
        ::unlinkat(fd, to, 0);
        return error;
    }
    return {};
}

} // namespace

std::error_code moveNoReplace(int folderFd, const std::string& from, const std::string& to) {
    if (renameRefusingReplace(folderFd, from.c_str(), to.c_str()) == 0) {
        return {};
    }
    if (!flagUnsupported(errno)) {
        return lastError();
    }
    return moveWithoutRenameFlag(folderFd, from, to);
}

std::error_code moveWithoutRenameFlag(int folderFd, const std::string& from,
                                      const std::string& to) {
    struct stat status {};
    if (::fstatat(folderFd, from.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return lastError();
    }
    if (S_ISDIR(status.st_mode)) {
        return moveDirectoryOverPlaceholder(folderFd, from.c_str(), to.c_str());
    }
    return moveByLinking(folderFd, from.c_str(), to.c_str());
}

} // namespace brindleaf
