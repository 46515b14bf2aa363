#pragma once

#include "platform/MoveCalls.hpp"

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

    int renameNoReplace(int folder, const char* from, const char* to) override {
        return refuseFlag ? fail(EINVAL) : MoveCalls::renameNoReplace(folder, from, to);
    }
    int renameReplacing(int folder, const char* from, const char* to) override {
        bool folderMoves = false;
        MoveCalls::isFolder(folder, from, folderMoves);
        const int refusal = folderMoves ? refuseRenameOntoFolder : refuseRenameOntoFile;
        return refusal != 0 ? fail(refusal) : MoveCalls::renameReplacing(folder, from, to);
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
    static int fail(int error) {
        errno = error;
        return -1;
    }
};

} // namespace brindleaf::testing
