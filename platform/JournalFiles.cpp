#include "platform/JournalFiles.hpp"

#include "platform/SystemError.hpp"
#include "platform/VisitFolder.hpp"

#include <dirent.h>
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
constexpr std::string_view partialEnding = ".partial";
constexpr std::string_view setAsideEnding = ".set-aside";
constexpr std::string_view lockEnding = ".lock";
constexpr std::size_t bufferLimit = std::size_t{1} << 20;
// A folder that says every name a journal could be set aside as is taken is believed only
// this far: past it, something other than journals set aside before answers.
constexpr int setAsideAttempts = 1000;

class JournalFolderCategory final : public std::error_category {
public:
    [[nodiscard]] const char* name() const noexcept override { return "journal folder"; }
    [[nodiscard]] std::string message(int value) const override {
        switch (static_cast<JournalFolderProblem>(value)) {
        case JournalFolderProblem::IsALink:
            return "it is a symbolic link";
        case JournalFolderProblem::NotAFolder:
            return "it is not a folder";
        case JournalFolderProblem::OwnedByAnotherUser:
            return "it belongs to another user";
        case JournalFolderProblem::WritableByOthers:
            return "other users may write to it";
        }
        return "it cannot be trusted";
    }
};

std::error_code writeAll(JournalCalls& calls, int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = calls.write(fd, bytes.data(), bytes.size());
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
std::string freshJournalName(std::string_view key) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    char name[64];
    std::snprintf(name, sizeof name, "%020lld-%ld", static_cast<long long>(nanoseconds),
                  static_cast<long>(::getpid()));
    std::string fresh(name);
    if (!key.empty()) {
        fresh += '-';
        fresh += key;
    }
    return fresh + std::string(journalEnding);
}

std::string partialNameOf(const std::string& name) {
    return "." + name + std::string(partialEnding);
}

// The parents as the user's other programs would make them; the journal folder itself is
// made for the user alone, and is the only one whose mode is ever chosen here.
std::error_code createFolder(const std::string& path) {
    std::error_code code;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), code);
    if (code) {
        return code;
    }
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return lastError();
    }
    return {};
}

std::error_code distrustOf(const struct stat& status) {
    if (!S_ISDIR(status.st_mode)) {
        return JournalFolderProblem::NotAFolder;
    }
    if (status.st_uid != ::geteuid()) {
        return JournalFolderProblem::OwnedByAnotherUser;
    }
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return JournalFolderProblem::WritableByOthers;
    }
    return {};
}

std::expected<UniqueFd, std::error_code> duplicate(const UniqueFd& fd) {
    UniqueFd copy(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0));
    if (!copy.valid()) {
        return std::unexpected(lastError());
    }
    return copy;
}

// Every name in the folder, "." and ".." left out.
std::expected<std::vector<std::string>, std::error_code> namesIn(const UniqueFd& folder) {
    std::vector<std::string> names;
    const std::error_code failed = visitFolder(folder.get(), [&](const dirent& entry) {
        names.emplace_back(entry.d_name);
        return true;
    });
    if (failed) {
        return std::unexpected(failed);
    }
    return names;
}

// The journals among a folder's names, newest first.
std::vector<std::string> journalNames(const std::vector<std::string>& all) {
    std::vector<std::string> names;
    for (const std::string& name : all) {
        if (!name.starts_with('.') && name.ends_with(journalEnding)) {
            names.push_back(name);
        }
    }
    std::ranges::sort(names, std::greater<>());
    return names;
}

// Whether another process holds a lock on the journal `fd`, its run still going. A shared
// lock taken to find out is given back at once.
bool lockedElsewhere(JournalCalls& calls, int fd) {
    if (calls.lock(fd, LOCK_SH | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK;
    }
    calls.lock(fd, LOCK_UN);
    return false;
}

// Whether the name `name` in `folder` is still the file `fd`: only a holder of a folder
// lock removes its file, so a lock taken on a file no longer named keeps nobody out.
bool stillNamed(const UniqueFd& folder, const std::string& name, int fd) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 &&
           ::fstatat(folder.get(), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           named.st_ino == held.st_ino && named.st_dev == held.st_dev;
}

// Up to `count` bytes of an open file from `offset` on.
std::expected<std::string, std::error_code> readAt(int file, std::uint64_t offset,
                                                   std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(file, bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(offset + done));
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

// Up to `most` bytes from the start of an open file; `status` is the whole file's.
std::expected<std::string, std::error_code> readStart(JournalCalls& calls, int file,
                                                      std::size_t most, struct stat& status) {
    if (calls.statusOf(file, status) != 0) {
        return std::unexpected(lastError());
    }
    return readAt(file, 0,
                  static_cast<std::size_t>(
                      std::min<std::uint64_t>(most, static_cast<std::uint64_t>(status.st_size))));
}

} // namespace

ssize_t JournalCalls::write(int fd, const void* bytes, std::size_t size) {
    return ::write(fd, bytes, size);
}

ssize_t JournalCalls::writeAt(int fd, const void* bytes, std::size_t size, off_t offset) {
    return ::pwrite(fd, bytes, size, offset);
}

int JournalCalls::flush(int fd) {
    if (const auto code = flushToDisk(fd)) {
        errno = code.value();
        return -1;
    }
    return 0;
}

int JournalCalls::rename(int folder, const char* from, const char* to) {
    return ::renameat(folder, from, folder, to);
}

int JournalCalls::lock(int fd, int operation) {
    return ::flock(fd, operation);
}

int JournalCalls::openFolder(const char* path) {
    return ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

int JournalCalls::statusOf(int fd, struct stat& status) {
    return ::fstat(fd, &status);
}

int JournalCalls::linkStatusOf(const char* path, struct stat& status) {
    return ::lstat(path, &status);
}

int JournalCalls::link(int folder, const char* from, const char* to) {
    return ::linkat(folder, from, folder, to, 0);
}

int JournalCalls::unlink(int folder, const char* name) {
    return ::unlinkat(folder, name, 0);
}

int JournalCalls::openFile(int folder, const char* name, int flags, mode_t mode) {
    return ::openat(folder, name, flags, mode);
}

const std::error_category& journalFolderCategory() {
    static const JournalFolderCategory category;
    return category;
}

std::error_code make_error_code(JournalFolderProblem problem) {
    return {static_cast<int>(problem), journalFolderCategory()};
}

JournalFile::JournalFile(std::shared_ptr<JournalCalls> calls, UniqueFd folder, UniqueFd file,
                         std::string temporaryName, std::string name)
    : calls_(std::move(calls)), folder_(std::move(folder)), file_(std::move(file)),
      temporaryName_(std::move(temporaryName)), name_(std::move(name)) {}

void JournalFile::append(std::string_view bytes) {
    buffer_.append(bytes);
    if (buffer_.size() >= bufferLimit) {
        static_cast<void>(flushBuffer());
    }
}

std::error_code JournalFile::flushBuffer() {
    if (!failure_) {
        failure_ = writeAll(*calls_, file_.get(), buffer_);
    }
    buffer_.clear();
    return failure_;
}

std::error_code JournalFile::commit() {
    if (const auto code = flushBuffer()) {
        return code;
    }
    buffer_.shrink_to_fit();
    if (calls_->flush(file_.get()) != 0) {
        return lastError();
    }
    if (calls_->rename(folder_.get(), temporaryName_.c_str(), name_.c_str()) != 0) {
        return lastError();
    }
    temporaryName_ = name_;
    if (calls_->flush(folder_.get()) != 0) {
        return lastError();
    }
    return {};
}

void JournalFile::discard() {
    if (folder_.valid()) {
        calls_->unlink(folder_.get(), temporaryName_.c_str());
    }
    file_.reset();
}

std::error_code JournalFile::overwriteHead(std::string_view bytes) {
    if (calls_->writeAt(file_.get(), bytes.data(), bytes.size(), 0) !=
        static_cast<ssize_t>(bytes.size())) {
        return errno != 0 ? lastError() : std::make_error_code(std::errc::io_error);
    }
    if (calls_->flush(file_.get()) != 0) {
        return lastError();
    }
    return {};
}

std::expected<JournalFile, std::error_code> JournalFile::replacement() const {
    auto folder = duplicate(folder_);
    if (!folder) {
        return std::unexpected(folder.error());
    }
    std::string temporaryName = partialNameOf(name_);
    // Until it is locked, it looks abandoned to another folder's run, which may remove it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        calls_->unlink(folder->get(), temporaryName.c_str());
        UniqueFd file(calls_->openFile(folder->get(), temporaryName.c_str(),
                                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!file.valid() || calls_->lock(file.get(), LOCK_EX) != 0) {
            return std::unexpected(lastError());
        }
        if (stillNamed(*folder, temporaryName, file.get())) {
            return JournalFile(calls_, std::move(*folder), std::move(file),
                               std::move(temporaryName), name_);
        }
    }
    return std::unexpected(std::make_error_code(std::errc::resource_unavailable_try_again));
}

JournalFolder::JournalFolder(std::string path, std::shared_ptr<JournalCalls> calls)
    : path_(std::move(path)), calls_(std::move(calls)) {}

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

std::expected<UniqueFd, std::error_code> JournalFolder::openTrusted() const {
    UniqueFd folder(calls_->openFolder(path_.c_str()));
    if (!folder.valid()) {
        const std::error_code failed = lastError();
        struct stat link {};
        if ((failed == std::errc::too_many_symbolic_link_levels ||
             failed == std::errc::not_a_directory) &&
            calls_->linkStatusOf(path_.c_str(), link) == 0) {
            return std::unexpected(make_error_code(S_ISLNK(link.st_mode)
                                                       ? JournalFolderProblem::IsALink
                                                       : JournalFolderProblem::NotAFolder));
        }
        return std::unexpected(failed);
    }
    struct stat status {};
    if (calls_->statusOf(folder.get(), status) != 0) {
        return std::unexpected(lastError());
    }
    if (const auto distrust = distrustOf(status)) {
        return std::unexpected(distrust);
    }
    return folder;
}

std::expected<UniqueFd, std::error_code>
JournalFolder::openJournal(const UniqueFd& folder, const std::string& name, int access) const {
    // Never blocks on a FIFO and never follows a link: either is refused by what fstat says.
    UniqueFd file(calls_->openFile(folder.get(), name.c_str(),
                                   access | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0));
    if (!file.valid()) {
        return std::unexpected(lastError());
    }
    struct stat status {};
    if (calls_->statusOf(file.get(), status) != 0) {
        return std::unexpected(lastError());
    }
    if (!S_ISREG(status.st_mode)) {
        return std::unexpected(std::make_error_code(std::errc::invalid_argument));
    }
    if (status.st_uid != ::geteuid()) {
        return std::unexpected(make_error_code(JournalFolderProblem::OwnedByAnotherUser));
    }
    return file;
}

std::expected<JournalFile, std::error_code> JournalFolder::create(std::string_view key) const {
    if (const auto code = createFolder(path_)) {
        return std::unexpected(code);
    }
    auto folder = openTrusted();
    if (!folder) {
        return std::unexpected(folder.error());
    }
    // Until it is locked, a new journal looks abandoned to another folder's run, which may
    // remove it: one removed so is begun again under a new name.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = freshJournalName(key);
        std::string temporaryName = partialNameOf(name);
        UniqueFd file(calls_->openFile(folder->get(), temporaryName.c_str(),
                                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!file.valid()) {
            return std::unexpected(lastError());
        }
        if (calls_->lock(file.get(), LOCK_EX) != 0) {
            const std::error_code code = lastError();
            calls_->unlink(folder->get(), temporaryName.c_str());
            return std::unexpected(code);
        }
        if (stillNamed(*folder, temporaryName, file.get())) {
            return JournalFile(calls_, std::move(*folder), std::move(file),
                               std::move(temporaryName), std::move(name));
        }
    }
    return std::unexpected(std::make_error_code(std::errc::resource_unavailable_try_again));
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        release();
        calls_ = std::move(other.calls_);
        folder_ = std::move(other.folder_);
        file_ = std::move(other.file_);
        name_ = std::move(other.name_);
    }
    return *this;
}

void FolderLock::release() noexcept {
    // Removed before it is let go: another that took it in between would hold a lock on a
    // file no longer named, which keeps nobody out.
    if (file_.valid()) {
        calls_->unlink(folder_.get(), name_.c_str());
        calls_->lock(file_.get(), LOCK_UN);
    }
    file_.reset();
    folder_.reset();
}

std::expected<FolderLock, std::error_code> JournalFolder::lockFolder(std::string_view key) const {
    if (const auto code = createFolder(path_)) {
        return std::unexpected(code);
    }
    auto folder = openTrusted();
    if (!folder) {
        return std::unexpected(folder.error());
    }
    const std::string name = "." + std::string(key) + std::string(lockEnding);
    // Each new try follows a holder that let go between this one's opening and locking.
    for (int attempt = 0; attempt < 100; ++attempt) {
        UniqueFd file(calls_->openFile(folder->get(), name.c_str(),
                                       O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                                       0600));
        if (!file.valid()) {
            return std::unexpected(lastError());
        }
        if (calls_->lock(file.get(), LOCK_EX | LOCK_NB) != 0) {
            return std::unexpected(lastError());
        }
        if (stillNamed(*folder, name, file.get())) {
            return FolderLock(calls_, std::move(*folder), std::move(file), name);
        }
    }
    return std::unexpected(std::make_error_code(std::errc::operation_would_block));
}

std::expected<JournalFile, std::error_code> JournalFolder::open(const std::string& name) const {
    auto folder = openTrusted();
    if (!folder) {
        return std::unexpected(folder.error());
    }
    auto file = openJournal(*folder, name, O_RDWR);
    if (!file) {
        return std::unexpected(file.error());
    }
    if (calls_->lock(file->get(), LOCK_EX | LOCK_NB) != 0) {
        return std::unexpected(lastError());
    }
    return JournalFile(calls_, std::move(*folder), std::move(*file), name, name);
}

std::expected<std::vector<std::string>, std::error_code> JournalFolder::names() const {
    auto folder = openTrusted();
    if (!folder) {
        if (folder.error() == std::errc::no_such_file_or_directory) {
            return std::vector<std::string>{};
        }
        return std::unexpected(folder.error());
    }
    auto all = namesIn(*folder);
    if (!all) {
        return std::unexpected(all.error());
    }
    return journalNames(*all);
}

std::expected<std::string, std::error_code> JournalFolder::read(const std::string& name,
                                                                std::size_t most) const {
    auto folder = openTrusted();
    if (!folder) {
        return std::unexpected(folder.error());
    }
    const auto file = openJournal(*folder, name, O_RDONLY);
    if (!file) {
        return std::unexpected(file.error());
    }
    struct stat status {};
    return readStart(*calls_, file->get(), most, status);
}

std::error_code JournalFolder::readInPieces(
    const std::string& name, std::size_t piece,
    const std::function<bool(std::uint64_t size, std::string_view bytes)>& take) const {
    auto folder = openTrusted();
    if (!folder) {
        return folder.error();
    }
    const auto file = openJournal(*folder, name, O_RDONLY);
    struct stat status {};
    if (!file) {
        return file.error();
    }
    if (calls_->statusOf(file->get(), status) != 0) {
        return lastError();
    }
    const auto size = static_cast<std::uint64_t>(status.st_size);
    for (std::uint64_t offset = 0;;) {
        const auto bytes = readAt(file->get(), offset, piece);
        if (!bytes) {
            return bytes.error();
        }
        if (bytes->empty() || !take(size, *bytes)) {
            return {};
        }
        offset += bytes->size();
    }
}

std::error_code
JournalFolder::visitHeads(std::size_t most, const std::function<bool(const JournalPeek&)>& visit,
                          const std::function<bool(std::string_view)>& wanted) const {
    const auto folder = openTrusted();
    if (!folder) {
        return folder.error() == std::errc::no_such_file_or_directory ? std::error_code{}
                                                                      : folder.error();
    }
    const auto all = namesIn(*folder);
    if (!all) {
        return all.error();
    }
    for (const std::string& name : journalNames(*all)) {
        if (wanted && !wanted(name)) {
            continue;
        }
        const auto file = openJournal(*folder, name, O_RDONLY);
        struct stat status {};
        const auto bytes =
            file ? readStart(*calls_, file->get(), most, status) : std::unexpected(file.error());
        const auto size = static_cast<std::uint64_t>(status.st_size);
        const std::uint64_t tailStart = size - std::min<std::uint64_t>(size, tailBytes);
        const auto tail = !bytes ? std::unexpected(bytes.error())
                          : bytes->size() == size
                              ? std::expected<std::string, std::error_code>(
                                    bytes->substr(static_cast<std::size_t>(tailStart)))
                              : readAt(file->get(), tailStart, tailBytes);
        if (!tail) {
            // Gone since the folder was listed, set aside or pruned meanwhile: no journal now.
            if (tail.error() == std::errc::no_such_file_or_directory) {
                continue;
            }
            if (!visit(JournalPeek(name, tail.error(), *calls_))) {
                return {};
            }
            continue;
        }
        const auto allocated = static_cast<std::uint64_t>(status.st_blocks) * 512;
        if (!visit(JournalPeek(name, *bytes, *tail, size, allocated, file->get(), *calls_))) {
            return {};
        }
    }
    return {};
}

bool JournalPeek::inUse() const {
    return file_ >= 0 && lockedElsewhere(calls_, file_);
}

void JournalFolder::removeAbandoned() const {
    const auto folder = openTrusted();
    const auto all = folder ? namesIn(*folder) : std::unexpected(folder.error());
    if (!all) {
        return;
    }
    // A folder lock's file is never cleared here: taking it even for a moment would make its
    // folder's own run, wanting it at that moment, take this for another run. One that a
    // killed holder left is taken over by its folder's next run, which removes it.
    for (const std::string& name : *all) {
        if (!name.starts_with('.') || !name.ends_with(partialEnding)) {
            continue;
        }
        // A journal still being written is locked by its process; one that is not was
        // abandoned before it was complete, and before its run moved anything. It is removed
        // while held, so that its writer, locking it in the meantime, finds it gone and
        // begins another, rather than write on into a file no longer named.
        const auto file = openJournal(*folder, name, O_RDONLY);
        if (file && calls_->lock(file->get(), LOCK_EX | LOCK_NB) == 0 &&
            stillNamed(*folder, name, file->get())) {
            calls_->unlink(folder->get(), name.c_str());
        }
    }
}

std::error_code JournalFolder::remove(const std::string& name) const {
    const auto folder = openTrusted();
    if (!folder) {
        return folder.error();
    }
    if (calls_->unlink(folder->get(), name.c_str()) != 0) {
        return lastError();
    }
    return {};
}

std::expected<std::string, std::error_code> JournalFolder::setAside(const std::string& name) const {
    const auto folder = openTrusted();
    if (!folder) {
        return std::unexpected(folder.error());
    }
    // A link is never made over an existing name, so a journal set aside earlier under the
    // same name keeps its place, and the next free name is taken.
    std::string aside = name + std::string(setAsideEnding);
    for (int attempt = 2; calls_->link(folder->get(), name.c_str(), aside.c_str()) != 0;
         ++attempt) {
        if (errno != EEXIST || attempt > setAsideAttempts) {
            return std::unexpected(lastError());
        }
        aside = name + std::string(setAsideEnding) + "-" + std::to_string(attempt);
    }
    // Until its own name is gone the journal still counts, and still refuses its folder. The
    // second name stays when that fails: were it removed after an unlink that failed only in
    // what it said, the journal would be gone.
    if (calls_->unlink(folder->get(), name.c_str()) != 0) {
        return std::unexpected(lastError());
    }
    // Set aside from here on. Should a power cut come before the folder reaches the disk, the
    // journal may come back under its name, which only refuses its folder again.
    static_cast<void>(calls_->flush(folder->get()));
    return aside;
}

std::error_code JournalFile::appendNow(std::string_view bytes, bool durable) {
    if (const auto code = writeAll(*calls_, file_.get(), bytes)) {
        return code;
    }
    return durable && calls_->flush(file_.get()) != 0 ? lastError() : std::error_code{};
}

} // namespace brindleaf
