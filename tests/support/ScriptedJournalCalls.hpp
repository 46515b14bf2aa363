#pragma once

#include "platform/JournalFiles.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <vector>

namespace brindleaf::testing {

// The real system calls of the journal, noted in `log` as they are made, except the one a
// test makes fail with a chosen errno, as a full disk or a failing drive would.
class ScriptedJournalCalls final : public JournalCalls {
public:
    // Flush fails the first flush, of the journal itself; FlushFolder only the journal
    // folder's, once the journal has reached the disk and its final name.
    enum class Call { None, Write, WriteAt, Flush, FlushFolder, Rename };
    Call failing = Call::None;
    int error = EIO;
    std::vector<std::string>* log = nullptr;

    ssize_t write(int fd, const void* bytes, std::size_t size) override {
        return failing == Call::Write ? fail() : JournalCalls::write(fd, bytes, size);
    }
    ssize_t writeAt(int fd, const void* bytes, std::size_t size, off_t offset) override {
        return failing == Call::WriteAt ? fail() : JournalCalls::writeAt(fd, bytes, size, offset);
    }
    int flush(int fd) override {
        struct stat status {};
        ::fstat(fd, &status);
        const bool folder = S_ISDIR(status.st_mode);
        note(folder ? "flush journal folder" : "flush journal");
        return failing == Call::Flush || (failing == Call::FlushFolder && folder)
                   ? fail()
                   : JournalCalls::flush(fd);
    }
    int rename(int folder, const char* from, const char* to) override {
        note("name journal");
        return failing == Call::Rename ? fail() : JournalCalls::rename(folder, from, to);
    }

private:
    void note(const char* call) {
        if (log != nullptr) {
            log->emplace_back(call);
        }
    }
    int fail() const {
        errno = error;
        return -1;
    }
};

} // namespace brindleaf::testing
