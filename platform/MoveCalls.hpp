#pragma once

#include <sys/stat.h>

#include <ctime>

namespace brindleaf {

// The system calls a no-replace move makes, each behind one virtual function so that a test
// can make any single call fail, as the system would, and watch the real cleanup run. Each
// returns 0, or -1 with errno set.
class MoveCalls {
public:
    virtual ~MoveCalls() = default;

    // Renames inside the folder, refusing to replace an existing `to`.
    virtual int renameNoReplace(int folder, const char* from, const char* to);
    // Renames inside the folder, replacing `to`: only ever onto a placeholder of our own.
    virtual int renameReplacing(int folder, const char* from, const char* to);
    // Creates `name` as an empty file, failing with EEXIST when anything holds the name.
    virtual int createFile(int folder, const char* name);
    // Creates `name` as an empty folder, failing with EEXIST when anything holds the name.
    virtual int createFolder(int folder, const char* name);
    virtual int remove(int folder, const char* name, bool isFolder);
    // The status of the entry itself; a link is not followed.
    virtual int status(int folder, const char* name, struct stat& status);
    // Sets `isEmpty` for the folder `name`: whether it holds no entry at all.
    virtual int folderIsEmpty(int folder, const char* name, bool& isEmpty);
    // Sets the access and modification times of the entry itself.
    virtual int setTimes(int folder, const char* name, const timespec (&times)[2]);
};

} // namespace brindleaf
