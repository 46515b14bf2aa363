#pragma once

#include "platform/JournalFiles.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

namespace brindleaf::testing {

// The real system calls of the journal, noted in `log` as they are made, except the one a
// test makes fail with a chosen errno, as a full disk or a failing drive would, and the
// owners a test has them report, as the system would of another user's files.
class ScriptedJournalCalls final : public JournalCalls {
public:
    // Flush fails the first flush, of the journal itself; FlushFolder only the journal
    // folder's, once the journal has reached the disk and its final name. Status fails
    // the look at the journal folder and at each journal; JournalStatus only at journals.
    // Unlink fails only the removal of journals under their final names; UnlinkHidden only
    // that of journals still being written and of folder locks. Open fails every opening of
    // a file in the journal folder; Create only the making of a new journal or replacement.
    enum class Call {
        None,
        Write,
        WriteAt,
        Flush,
        FlushFolder,
        Rename,
        OpenFolder,
        Status,
        JournalStatus,
        Link,
        Unlink,
        UnlinkHidden,
        Open,
        Create
    };
    Call failing = Call::None;
    int error = EIO;
    // How many calls of `failing` fail before it works again; every one when negative.
    int times = -1;
    // How many calls of `failing` work before the first that fails.
    int after = 0;
    // A second call that fails every time, with `alsoError`, so that a test can make the
    // cleaning up after a failure fail too.
    Call alsoFailing = Call::None;
    int alsoError = EIO;
    // Whose the journal folder and the journals are said to be.
    std::optional<uid_t> folderOwner;
    std::optional<uid_t> journalOwner;
    std::vector<std::string>* log = nullptr;

    ssize_t write(int fd, const void* bytes, std::size_t size) override {
        return fails(Call::Write) ? fail() : JournalCalls::write(fd, bytes, size);
    }
    ssize_t writeAt(int fd, const void* bytes, std::size_t size, off_t offset) override {
        return fails(Call::WriteAt) ? fail() : JournalCalls::writeAt(fd, bytes, size, offset);
    }
    int flush(int fd) override {
        struct stat status {};
        ::fstat(fd, &status);
        const bool folder = S_ISDIR(status.st_mode);
        note(folder ? "flush journal folder" : "flush journal");
        return fails(Call::Flush) || (folder && fails(Call::FlushFolder)) ? fail()
                                                                          : JournalCalls::flush(fd);
    }
    int rename(int folder, const char* from, const char* to) override {
        note("name journal");
        return fails(Call::Rename) ? fail() : JournalCalls::rename(folder, from, to);
    }
    int openFolder(const char* path) override {
        return fails(Call::OpenFolder) ? fail() : JournalCalls::openFolder(path);
    }
    int statusOf(int fd, struct stat& status) override {
        if (fails(Call::Status)) {
            return fail();
        }
        const int result = JournalCalls::statusOf(fd, status);
        if (result == 0 && !S_ISDIR(status.st_mode) && fails(Call::JournalStatus)) {
            return fail();
        }
        const std::optional<uid_t> owner = S_ISDIR(status.st_mode) ? folderOwner : journalOwner;
        if (result == 0 && owner) {
            status.st_uid = *owner;
        }
        return result;
    }
    int link(int folder, const char* from, const char* to) override {
        note("link journal");
        return fails(Call::Link) ? fail() : JournalCalls::link(folder, from, to);
    }
    int unlink(int folder, const char* name) override {
        const bool hidden = name[0] == '.';
        if (!hidden) {
            note("unlink journal");
        }
        return fails(hidden ? Call::UnlinkHidden : Call::Unlink)
                   ? fail()
                   : JournalCalls::unlink(folder, name);
    }
    int openFile(int folder, const char* name, int flags, mode_t mode) override {
        const bool creates = (flags & O_EXCL) != 0;
        return fails(Call::Open) || (creates && fails(Call::Create))
                   ? fail()
                   : JournalCalls::openFile(folder, name, flags, mode);
    }

private:
    int failingWith_ = 0;

    void note(const char* call) {
        if (log != nullptr) {
            log->emplace_back(call);
        }
    }
    bool fails(Call call) {
        if (call == alsoFailing) {
            failingWith_ = alsoError;
            return true;
        }
        if (failing != call || times == 0) {
            return false;
        }
        if (after > 0) {
            --after;
            return false;
        }
        if (times > 0) {
            --times;
        }
        failingWith_ = error;
        return true;
    }
    int fail() const {
        errno = failingWith_;
        return -1;
    }
};

} // namespace brindleaf::testing
