#include "platform/PosixFileSystem.hpp"

#include "platform/DateTaken.hpp"

#include "platform/SystemError.hpp"

#include "platform/NoReplaceMove.hpp"
#include "platform/VisitFolder.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <sys/mount.h>
#include <sys/param.h>
#else
#include <sys/vfs.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <string_view>

namespace brindleaf {

namespace {

// File systems whose inode numbers are made up at mount time: FAT, exFAT, FUSE (which
// carries exFAT, NTFS-3G, cloud and network mounts) and SMB.
bool inodesAreStable(int folderFd) {
#if defined(__APPLE__)
    struct statfs info {};
    if (::fstatfs(folderFd, &info) != 0) {
        return true;
    }
    const std::string_view type(info.f_fstypename);
    return type != "msdos" && type != "exfat" && type != "smbfs" && !type.starts_with("fuse") &&
           !type.starts_with("macfuse");
#else
    struct statfs info {};
    if (::fstatfs(folderFd, &info) != 0) {
        return true;
    }
    constexpr std::array<unsigned long, 6> madeUpAtMount{
        0x4d44,     // FAT
        0x2011bab0, // exFAT
        0x65735546, // FUSE
        0x517b,     // SMB
        0xff534d42, // CIFS
        0xfe534d42, // SMB2
    };
    const auto type = static_cast<unsigned long>(info.f_type);
    return std::ranges::find(madeUpAtMount, type) == madeUpAtMount.end();
#endif
}

// The file system's identity as statfs gives it, where it derives from the file system's
// UUID. Many file systems without one report their device number instead, which changes
// when the disk comes back as another device: that is no identity.
std::uint64_t volumeOf(int folderFd, std::uint64_t device) {
#if defined(__APPLE__)
    static_cast<void>(folderFd);
    static_cast<void>(device);
    return 0;
#else
    struct statfs info {};
    if (::fstatfs(folderFd, &info) != 0) {
        return 0;
    }
    std::uint32_t halves[2] = {};
    static_assert(sizeof halves == sizeof info.f_fsid);
    std::memcpy(halves, &info.f_fsid, sizeof halves);
    const std::uint64_t volume = halves[0] | (std::uint64_t{halves[1]} << 32);
    return volume == device || volume == (device & 0xffffffffU) ? 0 : volume;
#endif
}

// The directory read tells the kind of most entries; a file system that does not is asked.
// A symbolic link counts as what it points to, as a file manager shows it: a link to a
// folder is left out with the folders, a link that points nowhere is a file. Only the
// choice of entries asks this; the link itself is renamed, never followed.
bool isFolder(int folderFd, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) {
        return entry.d_type == DT_DIR;
    }
    // The reading of the folder tells its own failure by errno: a link that points
    // nowhere must not look like one.
    const int readError = errno;
    struct stat status {};
    const bool folder =
        ::fstatat(folderFd, entry.d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
    errno = readError;
    return folder;
}

#if defined(__APPLE__)
std::int64_t modifiedNanoseconds(const struct stat& status) {
    const timespec& time = status.st_mtimespec;
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}
#endif

} // namespace

std::expected<UniqueFd, std::error_code> PosixFileSystem::openFolder(const std::string& path) {
    UniqueFd folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        return std::unexpected(lastError());
    }
    return folder;
}

std::expected<FolderEntries, std::error_code> PosixFileSystem::readEntries(const UniqueFd& folder) {
    FolderEntries entries;
    const std::error_code failed = visitFolder(folder.get(), [&](const dirent& entry) {
        entries.names.emplace_back(entry.d_name);
        entries.inodes.push_back(entry.d_ino);
        entries.folders.push_back(isFolder(folder.get(), entry) ? 1 : 0);
        return true;
    });
    if (failed) {
        return std::unexpected(failed);
    }
    return entries;
}

MoveResult PosixFileSystem::move(const UniqueFd& folder, const std::string& from,
                                 const std::string& to) {
    return moveNoReplace(*calls_, folder.get(), from, to, placeholders_);
}

std::error_code PosixFileSystem::flush(const UniqueFd& folder) {
    return flushToDisk(folder.get());
}

std::expected<FolderIdentity, std::error_code> PosixFileSystem::identify(const UniqueFd& folder) {
    struct stat status {};
    if (::fstat(folder.get(), &status) != 0) {
        return std::unexpected(lastError());
    }
    const auto self = stamp(folder, ".");
    const auto device = static_cast<std::uint64_t>(status.st_dev);
    return FolderIdentity{device, static_cast<std::uint64_t>(status.st_ino),
                          inodesAreStable(folder.get()), self ? self->bornNanoseconds : 0,
                          volumeOf(folder.get(), device)};
}

std::expected<EntryStamp, std::error_code> PosixFileSystem::stamp(const UniqueFd& folder,
                                                                  const std::string& name) {
#if defined(__APPLE__)
    struct stat status {};
    if (::fstatat(folder.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::unexpected(lastError());
    }
    const timespec& born = status.st_birthtimespec;
    return EntryStamp{static_cast<std::uint64_t>(status.st_size), modifiedNanoseconds(status),
                      static_cast<std::int64_t>(born.tv_sec) * 1'000'000'000 + born.tv_nsec,
                      static_cast<std::uint64_t>(status.st_ino)};
#else
    struct statx status {};
    if (::statx(folder.get(), name.c_str(), AT_SYMLINK_NOFOLLOW | AT_STATX_DONT_SYNC,
                STATX_SIZE | STATX_MTIME | STATX_BTIME | STATX_INO, &status) != 0) {
        return std::unexpected(lastError());
    }
    const auto nanoseconds = [](const statx_timestamp& time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
    };
    const bool bornKnown = (status.stx_mask & STATX_BTIME) != 0;
    return EntryStamp{status.stx_size, nanoseconds(status.stx_mtime),
                      bornKnown ? nanoseconds(status.stx_btime) : 0, status.stx_ino};
#endif
}

std::optional<PhotoDate> PosixFileSystem::dateTaken(const UniqueFd& folder,
                                                    const std::string& name) {
    return readDateTaken(folder, name);
}

std::error_code PosixFileSystem::removeEmpty(const UniqueFd& folder, const std::string& name,
                                             bool isFolder) {
    if (isFolder) {
        // The system refuses to remove a folder that holds anything.
        return ::unlinkat(folder.get(), name.c_str(), AT_REMOVEDIR) == 0 ? std::error_code{}
                                                                         : lastError();
    }
    struct stat status {};
    if (::fstatat(folder.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return lastError();
    }
    if (!S_ISREG(status.st_mode) || status.st_size != 0) {
        return std::make_error_code(std::errc::file_exists);
    }
    return ::unlinkat(folder.get(), name.c_str(), 0) == 0 ? std::error_code{} : lastError();
}

std::size_t PosixFileSystem::longestName(const UniqueFd& folder) {
    const long limit = ::fpathconf(folder.get(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
}

} // namespace brindleaf
