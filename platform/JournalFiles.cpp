#include "platform/JournalFiles.hpp"

#include "platform/SystemError.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace brindleaf {

namespace {

constexpr std::string_view journalEnding = ".journal";
constexpr std::size_t bufferLimit = std::size_t{1} << 20;

std::error_code writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return lastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// A name that sorts after every journal begun before it.
std::string freshJournalName() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    char name[64];
    std::snprintf(name, sizeof name, "%020lld-%ld", static_cast<long long>(nanoseconds),
                  static_cast<long>(::getpid()));
    return std::string(name) + std::string(journalEnding);
}

std::error_code createFolders(const std::string& path) {
    std::error_code code;
    std::filesystem::create_directories(path, code);
    if (code) {
        return code;
    }
    // The journals name the user's files: keep them to the user.
    ::chmod(path.c_str(), 0700);
    return {};
}

} // namespace

JournalFile::JournalFile(UniqueFd folder, UniqueFd file, std::string temporaryName,
                         std::string name)
    : folder_(std::move(folder)), file_(std::move(file)), temporaryName_(std::move(temporaryName)),
      name_(std::move(name)) {}

void JournalFile::append(std::string_view bytes) {
    buffer_.append(bytes);
    if (buffer_.size() >= bufferLimit) {
        static_cast<void>(flushBuffer());
    }
}

std::error_code JournalFile::flushBuffer() {
    if (!failure_) {
        failure_ = writeAll(file_.get(), buffer_);
    }
    buffer_.clear();
    return failure_;
}

std::error_code JournalFile::commit() {
    if (const auto code = flushBuffer()) {
        return code;
    }
    buffer_.shrink_to_fit();
    if (const auto code = flushToDisk(file_.get())) {
        return code;
    }
    if (::renameat(folder_.get(), temporaryName_.c_str(), folder_.get(), name_.c_str()) != 0) {
        return lastError();
    }
    return flushToDisk(folder_.get());
}

std::error_code JournalFile::overwriteHead(std::string_view bytes) {
    if (::pwrite(file_.get(), bytes.data(), bytes.size(), 0) !=
        static_cast<ssize_t>(bytes.size())) {
        return errno != 0 ? lastError() : std::make_error_code(std::errc::io_error);
    }
    return flushToDisk(file_.get());
}

std::string JournalFolder::defaultPath() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
        return std::string(state) + "/brindleaf";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : "";
    }
    return std::string(home) + "/.local/state/brindleaf";
}

std::expected<JournalFile, std::error_code> JournalFolder::create() const {
    if (const auto code = createFolders(path_)) {
        return std::unexpected(code);
    }
    UniqueFd folder(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        return std::unexpected(lastError());
    }
    std::string name = freshJournalName();
    std::string temporaryName = "." + name + ".partial";
    UniqueFd file(::openat(folder.get(), temporaryName.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!file.valid() || ::flock(file.get(), LOCK_EX) != 0) {
        return std::unexpected(lastError());
    }
    return JournalFile(std::move(folder), std::move(file), std::move(temporaryName),
                       std::move(name));
}

std::expected<JournalFile, std::error_code> JournalFolder::open(const std::string& name) const {
    UniqueFd folder(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        return std::unexpected(lastError());
    }
    UniqueFd file(::openat(folder.get(), name.c_str(), O_RDWR | O_CLOEXEC));
    if (!file.valid() || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        return std::unexpected(lastError());
    }
    return JournalFile(std::move(folder), std::move(file), name, name);
}

std::expected<std::vector<std::string>, std::error_code> JournalFolder::names() const {
    std::vector<std::string> names;
    std::error_code code;
    std::filesystem::directory_iterator entries(path_, code);
    if (code == std::errc::no_such_file_or_directory) {
        return names;
    }
    if (code) {
        return std::unexpected(code);
    }
    for (const auto& entry : entries) {
        std::string name = entry.path().filename().string();
        if (!name.starts_with('.') && name.ends_with(journalEnding)) {
            names.push_back(std::move(name));
        }
    }
    std::ranges::sort(names, std::greater<>());
    return names;
}

std::expected<std::string, std::error_code> JournalFolder::read(const std::string& name,
                                                                std::size_t most) const {
    const UniqueFd file(::open((path_ + "/" + name).c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid()) {
        return std::unexpected(lastError());
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        return std::unexpected(lastError());
    }
    std::string bytes(std::min(most, static_cast<std::size_t>(status.st_size)), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::unexpected(lastError());
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

bool JournalFolder::inUse(const std::string& name) const {
    const UniqueFd file(::open((path_ + "/" + name).c_str(), O_RDONLY | O_CLOEXEC));
    return file.valid() && ::flock(file.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

void JournalFolder::removeAbandoned() const {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(path_, ignored)) {
        const std::string name = entry.path().filename().string();
        // A journal still being written is locked by its process; one that is not was
        // abandoned before it was complete, and before its run moved anything.
        if (name.starts_with('.') && name.ends_with(".partial") && !inUse(name)) {
            static_cast<void>(remove(name));
        }
    }
}

std::error_code JournalFolder::remove(const std::string& name) const {
    if (::unlink((path_ + "/" + name).c_str()) != 0) {
        return lastError();
    }
    return {};
}

} // namespace brindleaf
