#pragma once

#include "platform/MoveCalls.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace brindleaf::testing {

// The real system calls of a move, except those a test makes fail with a chosen errno, as
// a file system would refuse them. `refuseFlag` refuses the no-replace flag as FUSE,
// FAT and exFAT mounts do.
class ScriptedMoveCalls final : public MoveCalls {
public:
    bool refuseFlag = false;
    int refuseClaim = 0;
    int refuseRenameOntoFile = 0;
    int refuseRenameOntoFolder = 0;
    int refuseRemove = 0;
    // Stamps an entry renamed onto a placeholder with the time of the move, as fusefat does.
    bool stampMoveTime = false;

    int renameNoReplace(int folder, const char* from, const char* to) override {
        return refuseFlag ? fail(EINVAL) : MoveCalls::renameNoReplace(folder, from, to);
    }
    int renameReplacing(int folder, const char* from, const char* to) override {
        struct stat moving {};
        struct stat target {};
        MoveCalls::status(folder, from, moving);
        // Refused only onto an entry that exists, as fusefat refuses a folder onto a folder.
        if (MoveCalls::status(folder, to, target) != 0) {
            return stamped(folder, to, MoveCalls::renameReplacing(folder, from, to));
        }
        const int refusal = S_ISDIR(moving.st_mode) ? refuseRenameOntoFolder : refuseRenameOntoFile;
        if (refusal != 0) {
            return fail(refusal);
        }
        return stamped(folder, to, MoveCalls::renameReplacing(folder, from, to));
    }
    int createFile(int folder, const char* name) override {
        return refuseClaim != 0 ? fail(refuseClaim) : MoveCalls::createFile(folder, name);
    }
    int createFolder(int folder, const char* name) override {
        return refuseClaim != 0 ? fail(refuseClaim) : MoveCalls::createFolder(folder, name);
    }
    int remove(int folder, const char* name, bool isFolder) override {
        return refuseRemove != 0 ? fail(refuseRemove) : MoveCalls::remove(folder, name, isFolder);
    }

private:
    int stamped(int folder, const char* name, int renamed) const {
        if (renamed == 0 && stampMoveTime) {
            ::utimensat(folder, name, nullptr, AT_SYMLINK_NOFOLLOW);
        }
        return renamed;
    }
    static int fail(int error) {
        errno = error;
        return -1;
    }
};

} // namespace brindleaf::testing
