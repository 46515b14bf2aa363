#pragma once

#include "platform/UniqueFd.hpp"

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <expected>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace brindleaf {

// The system calls that open, check, write, flush, name and lock journals and their folder,
// each behind one virtual function so that a test can make any of them fail, or answer, as
// the system would. Each returns what the system call returns, with errno set on failure.
class JournalCalls {
public:
    virtual ~JournalCalls() = default;

    virtual ssize_t write(int fd, const void* bytes, std::size_t size);
    virtual ssize_t writeAt(int fd, const void* bytes, std::size_t size, off_t offset);
    // Makes what was written through `fd`, a journal or the journal folder, survive a power cut.
    virtual int flush(int fd);
    virtual int rename(int folder, const char* from, const char* to);
    virtual int lock(int fd, int operation);

    // The folder at `path` itself, never what a link there points to.
    virtual int openFolder(const char* path);
    // What the open file `fd`, the journal folder or a journal, is and whose it is.
    virtual int statusOf(int fd, struct stat& status);
    // What `path` is, a link itself rather than what it points to.
    virtual int linkStatusOf(const char* path, struct stat& status);
    // A second name `to` for the entry `from` of `folder`; fails rather than replace one.
    virtual int link(int folder, const char* from, const char* to);
    virtual int unlink(int folder, const char* name);
    // The file `name` of `folder`: a journal, one being written, or a folder's lock.
    virtual int openFile(int folder, const char* name, int flags, mode_t mode);
};

// Why a journal folder is not trusted with the user's names: another user could plant a
// journal there that names other entries, or read where the user's files are.
enum class JournalFolderProblem {
    IsALink = 1,
    NotAFolder,
    OwnedByAnotherUser,
    WritableByOthers,
};

const std::error_category& journalFolderCategory();
std::error_code make_error_code(JournalFolderProblem problem);

// One journal file, held locked by this process for as long as the object lives: another
// process that finds it locked knows its run is still going, and the lock goes with the
// process however it ends.
class JournalFile {
public:
    JournalFile() = default;

    [[nodiscard]] const std::string& name() const { return name_; }

    // Buffered; the first failure is kept and returned by commit().
    void append(std::string_view bytes);

    // Writes what was appended, flushes it to disk, gives the file its final name and
    // flushes the folder, so the journal survives a power cut from here on.
    std::error_code commit();

    // Removes a journal whose commit failed, so that no half-written file stays behind.
    void discard();

    // Overwrites the first bytes of the file in place and flushes them.
    std::error_code overwriteHead(std::string_view bytes);

    // Replaces the whole journal, under its own name, with what was appended since: written
    // aside, flushed and renamed over it, so a power cut leaves the old one or the new one.
    [[nodiscard]] std::expected<JournalFile, std::error_code> replacement() const;

    // Writes `bytes` at the end of a committed journal at once, flushed to disk before it
    // returns when `durable`.
    std::error_code appendNow(std::string_view bytes, bool durable);

private:
    friend class JournalFolder;
    JournalFile(std::shared_ptr<JournalCalls> calls, UniqueFd folder, UniqueFd file,
                std::string temporaryName, std::string name);
    std::error_code flushBuffer();

    std::shared_ptr<JournalCalls> calls_;
    UniqueFd folder_;
    UniqueFd file_;
    std::string temporaryName_;
    std::string name_;
    std::string buffer_;
    std::error_code failure_;
};

// Held by a run or an undo of one folder from the moment it reads what the folder's journals
// say until its own journal is in place and locked, so that two of them cannot both find
// the folder free. Its file, hidden in the journal folder and never taken for a journal,
// is there only while it is held: it goes when the lock does.
class FolderLock {
public:
    FolderLock() = default;
    FolderLock(FolderLock&& other) noexcept = default;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock() { release(); }

    // Removes the lock's file while still holding it, then lets go.
    void release() noexcept;

private:
    friend class JournalFolder;
    FolderLock(std::shared_ptr<JournalCalls> calls, UniqueFd folder, UniqueFd file,
               std::string name)
        : calls_(std::move(calls)), folder_(std::move(folder)), file_(std::move(file)),
          name_(std::move(name)) {}

    std::shared_ptr<JournalCalls> calls_;
    UniqueFd folder_;
    UniqueFd file_;
    std::string name_;
};

// A journal's first bytes as JournalFolder::visitHeads() hands them over, with the file
// they were read from still open.
class JournalPeek {
public:
    JournalPeek(const std::string& name, std::string_view bytes, std::string_view tail,
                std::uint64_t size, std::uint64_t allocated, int file, JournalCalls& calls)
        : name(name), bytes(bytes), tail(tail), size(size), allocated(allocated), file_(file),
          calls_(calls) {}
    // A file under a journal's name that cannot be read as one of the user's journals.
    JournalPeek(const std::string& name, std::error_code failure, JournalCalls& calls)
        : name(name), size(0), allocated(0), failure(failure), file_(-1), calls_(calls) {}

    const std::string& name;
    std::string_view bytes;
    // The journal's last bytes, as many as JournalFolder::tailBytes, fewer in a shorter one.
    std::string_view tail;
    // How many bytes the whole journal holds, and how many the disk gives it: a sparse file
    // is large but takes little room.
    std::uint64_t size;
    std::uint64_t allocated;
    // Why the file could not be read as the user's journal (a FIFO, a link, another user's
    // file, a failing disk); nothing else is known of it then.
    std::error_code failure;

    // Whether another process holds the journal, its run still going.
    [[nodiscard]] bool inUse() const;

private:
    int file_;
    JournalCalls& calls_;
};

// The folder that holds the journals of past runs, one file each, named so that their
// byte order is the order in which the runs began. It is used only while it is a real
// folder of the user's that nobody else may write to, and only the user's regular files in
// it are read.
class JournalFolder {
public:
    explicit JournalFolder(std::string path,
                           std::shared_ptr<JournalCalls> calls = std::make_shared<JournalCalls>());

    // $XDG_STATE_HOME/brindleaf, or ~/.local/state/brindleaf without it.
    static std::string defaultPath();

    [[nodiscard]] const std::string& path() const { return path_; }

    // How many of a journal's last bytes visitHeads() hands over.
    static constexpr std::size_t tailBytes = 4096;

    // A new journal under a hidden name, created along with the folder if need be. `key`,
    // a few letters and digits, ends its final name, so that the journals of one folder can
    // be found by name alone.
    [[nodiscard]] std::expected<JournalFile, std::error_code>
    create(std::string_view key = {}) const;

    // The lock of the folder whose journals' names end in `key`, created along with the
    // journal folder if need be; fails at once with EWOULDBLOCK while another holds it.
    [[nodiscard]] std::expected<FolderLock, std::error_code> lockFolder(std::string_view key) const;

    // An existing journal, locked for this process; fails with EWOULDBLOCK while another
    // process holds it.
    [[nodiscard]] std::expected<JournalFile, std::error_code> open(const std::string& name) const;

    // The journals' names, newest first; none when the folder does not exist yet.
    [[nodiscard]] std::expected<std::vector<std::string>, std::error_code> names() const;

    // Up to `most` bytes from the start of a journal.
    [[nodiscard]] std::expected<std::string, std::error_code>
    read(const std::string& name, std::size_t most = static_cast<std::size_t>(-1)) const;

    // Hands a journal to `take` in pieces of at most `piece` bytes, front to back, with the
    // size of the whole, until it is all read or `take` returns false.
    std::error_code
    readInPieces(const std::string& name, std::size_t piece,
                 const std::function<bool(std::uint64_t size, std::string_view bytes)>& take) const;

    // Hands the first `most` bytes of each journal `wanted` by name to `visit`, newest
    // first, until it returns false: the folder is opened and checked once, and each
    // journal once. Fails when the folder cannot be read or trusted, so that its runs are
    // never taken for none; no folder yet is no journal. A file under a journal's name that
    // cannot be read as one is handed over with its failure, never left out.
    std::error_code visitHeads(std::size_t most,
                               const std::function<bool(const JournalPeek&)>& visit,
                               const std::function<bool(std::string_view)>& wanted = {}) const;

    std::error_code remove(const std::string& name) const;
    // Removes journals whose writing was cut short. The file of a folder lock that a killed
    // process left behind stays until that folder's next run or undo takes it over.
    void removeAbandoned() const;

    // Sets a journal aside under another name in the same folder, where no reading of
    // journals looks; nothing is deleted, and no journal set aside before is replaced.
    [[nodiscard]] std::expected<std::string, std::error_code>
    setAside(const std::string& name) const;

private:
    [[nodiscard]] std::expected<UniqueFd, std::error_code> openTrusted() const;
    [[nodiscard]] std::expected<UniqueFd, std::error_code>
    openJournal(const UniqueFd& folder, const std::string& name, int access) const;

    std::string path_;
    std::shared_ptr<JournalCalls> calls_;
};

} // namespace brindleaf

template <> struct std::is_error_code_enum<brindleaf::JournalFolderProblem> : std::true_type {};
