#include "platform/NoReplaceMove.hpp"

#include "platform/SystemError.hpp"
#include "platform/VisitFolder.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>

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

// A rename onto a placeholder stamps the entry with the time of the move on some file
// systems (fusefat): its dates are the user's, and undo recognises entries there by them.
void keepTimes(MoveCalls& calls, int fd, const char* name, const struct stat& before) {
#if defined(__APPLE__)
    const timespec times[2] = {before.st_atimespec, before.st_mtimespec};
#else
    const timespec times[2] = {before.st_atim, before.st_mtim};
#endif
    // The entry has its new name whatever happens here; a file system that refuses to set
    // times did not change them either.
    static_cast<void>(calls.setTimes(fd, name, times));
}

// fusefat refuses to move a folder onto the empty folder that claims its new name. A
// folder can only ever replace an empty folder, so with the placeholder removed a plain
// rename replaces no file, whatever another program does meanwhile. But fusefat's plain
// rename of a folder orphans what the folder holds (fsck.fat reclaims it), so only an
// empty folder is moved that way; any other stays where it is, and the move fails.
MoveResult moveFolderPastRefusal(MoveCalls& calls, int fd, const char* from, const char* to) {
    const std::error_code refusal = lastError();
    bool isEmpty = false;
    const bool movable = calls.folderIsEmpty(fd, from, isEmpty) == 0 && isEmpty;
    if (calls.remove(fd, to, true) != 0) {
        return {refusal, MoveStep::RenameOntoClaim, true};
    }
    if (!movable) {
        return {refusal, MoveStep::RenameOntoClaim, false};
    }
    if (calls.renameReplacing(fd, from, to) != 0) {
        return failed(MoveStep::RenameOntoClaim);
    }
    return {};
}

MoveResult moveOntoClaim(MoveCalls& calls, int fd, const char* from, const char* to,
                         PlaceholderLog* log) {
    struct stat before {};
    if (calls.status(fd, from, before) != 0) {
        return failed(MoveStep::Rename);
    }
    const bool isFolder = S_ISDIR(before.st_mode);
    if (log != nullptr) {
        if (const std::error_code unrecorded = log->claiming(to, isFolder)) {
            return {unrecorded, MoveStep::ClaimNewName, false};
        }
    }
    const int claimed = isFolder ? calls.createFolder(fd, to) : calls.createFile(fd, to);
    if (claimed != 0) {
        return failed(MoveStep::ClaimNewName);
    }
    if (struct stat placeholder{}; log != nullptr && calls.status(fd, to, placeholder) == 0) {
        log->claimed(to, static_cast<std::uint64_t>(placeholder.st_ino));
    }
    if (calls.renameReplacing(fd, from, to) != 0) {
        if (isFolder && errno == EPERM) {
            const MoveResult result = moveFolderPastRefusal(calls, fd, from, to);
            if (!result) {
                keepTimes(calls, fd, to, before);
            }
            return result;
        }
        MoveResult result = failed(MoveStep::RenameOntoClaim);
        result.placeholderLeft = calls.remove(fd, to, isFolder) != 0;
        return result;
    }
    keepTimes(calls, fd, to, before);
    return {};
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

int MoveCalls::status(int folder, const char* name, struct stat& status) {
    return ::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW);
}

int MoveCalls::folderIsEmpty(int folder, const char* name, bool& isEmpty) {
    const UniqueFd inner(::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!inner.valid()) {
        return -1;
    }
    isEmpty = true;
    if (const std::error_code failed = visitFolder(inner.get(), [&](const dirent&) {
            isEmpty = false;
            return false;
        })) {
        errno = failed.value();
        return -1;
    }
    return 0;
}

int MoveCalls::setTimes(int folder, const char* name, const timespec (&times)[2]) {
    return ::utimensat(folder, name, times, AT_SYMLINK_NOFOLLOW);
}

MoveResult moveNoReplace(MoveCalls& calls, int folderFd, const std::string& from,
                         const std::string& to, PlaceholderLog* log) {
    if (calls.renameNoReplace(folderFd, from.c_str(), to.c_str()) == 0) {
        return {};
    }
    if (!flagUnsupported(errno)) {
        return failed(MoveStep::Rename);
    }
    return moveOntoClaim(calls, folderFd, from.c_str(), to.c_str(), log);
}

} // namespace brindleaf
