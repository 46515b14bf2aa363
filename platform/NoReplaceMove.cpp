#include "platform/NoReplaceMove.hpp"

#include "platform/SystemError.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace brindleaf {

namespace {

bool flagUnsupported(int error) {
#if defined(__APPLE__)
    return error == ENOTSUP;
#else
    return error == EINVAL || error == ENOSYS;
#endif
}

MoveResult failed(MoveStep step) {
    return {lastError(), step, false};
}

MoveResult moveOntoClaim(MoveCalls& calls, int fd, const char* from, const char* to) {
    bool isFolder = false;
    if (calls.isFolder(fd, from, isFolder) != 0) {
        return failed(MoveStep::Rename);
    }
    const int claimed = isFolder ? calls.createFolder(fd, to) : calls.createFile(fd, to);
    if (claimed != 0) {
        return failed(MoveStep::ClaimNewName);
    }
    if (calls.renameReplacing(fd, from, to) == 0) {
        return {};
    }
    MoveResult result = failed(MoveStep::RenameOntoClaim);
    result.placeholderLeft = calls.remove(fd, to, isFolder) != 0;
    return result;
}

} // namespace

int MoveCalls::renameNoReplace(int folder, const char* from, const char* to) {
#if defined(__APPLE__)
    return ::renameatx_np(folder, from, folder, to, RENAME_EXCL);
#else
    return ::renameat2(folder, from, folder, to, RENAME_NOREPLACE);
#endif
}

int MoveCalls::renameReplacing(int folder, const char* from, const char* to) {
    return ::renameat(folder, from, folder, to);
}

int MoveCalls::createFile(int folder, const char* name) {
    const int file = ::openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (file < 0) {
        return -1;
    }
    ::close(file);
    return 0;
}

int MoveCalls::createFolder(int folder, const char* name) {
    return ::mkdirat(folder, name, 0700);
}

int MoveCalls::remove(int folder, const char* name, bool isFolder) {
    return ::unlinkat(folder, name, isFolder ? AT_REMOVEDIR : 0);
}

int MoveCalls::isFolder(int folder, const char* name, bool& isFolder) {
    struct stat status {};
    if (::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return -1;
    }
    isFolder = S_ISDIR(status.st_mode);
    return 0;
}

MoveResult moveNoReplace(MoveCalls& calls, int folderFd, const std::string& from,
                         const std::string& to) {
    if (calls.renameNoReplace(folderFd, from.c_str(), to.c_str()) == 0) {
        return {};
    }
    if (!flagUnsupported(errno)) {
        return failed(MoveStep::Rename);
    }
    return moveOntoClaim(calls, folderFd, from.c_str(), to.c_str());
}

} // namespace brindleaf
