#pragma once

#include "platform/UniqueFd.hpp"

#include <cstddef>
#include <expected>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace brindleaf {

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

    // Overwrites the first bytes of the file in place and flushes them.
    std::error_code overwriteHead(std::string_view bytes);

private:
    friend class JournalFolder;
    JournalFile(UniqueFd folder, UniqueFd file, std::string temporaryName, std::string name);
    std::error_code flushBuffer();

    UniqueFd folder_;
    UniqueFd file_;
    std::string temporaryName_;
    std::string name_;
    std::string buffer_;
    std::error_code failure_;
};

// The folder that holds the journals of past runs, one file each, named so that their
// byte order is the order in which the runs began.
class JournalFolder {
public:
    explicit JournalFolder(std::string path) : path_(std::move(path)) {}

    // $XDG_STATE_HOME/brindleaf, or ~/.local/state/brindleaf without it.
    static std::string defaultPath();

    [[nodiscard]] const std::string& path() const { return path_; }

    // A new journal under a hidden name, created along with the folder if need be.
    [[nodiscard]] std::expected<JournalFile, std::error_code> create() const;

    // An existing journal, locked for this process; fails with EWOULDBLOCK while another
    // process holds it.
    [[nodiscard]] std::expected<JournalFile, std::error_code> open(const std::string& name) const;

    // The journals' names, newest first; none when the folder does not exist yet.
    [[nodiscard]] std::expected<std::vector<std::string>, std::error_code> names() const;

    // Up to `most` bytes from the start of a journal.
    [[nodiscard]] std::expected<std::string, std::error_code>
    read(const std::string& name, std::size_t most = static_cast<std::size_t>(-1)) const;

    [[nodiscard]] bool inUse(const std::string& name) const;
    std::error_code remove(const std::string& name) const;
    // Removes journals whose writing was cut short.
    void removeAbandoned() const;

private:
    std::string path_;
};

} // namespace brindleaf
