#pragma once

#include "platform/UniqueFd.hpp"

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace brindleaf {

// A folder's entries as the file system lists them: names, and beside each the inode
// number that the same directory read reported and whether the entry is a folder.
struct FolderEntries {
    std::vector<std::string> names;
    std::vector<std::uint64_t> inodes;
    // 1 for a folder or a symbolic link to one: what a link points to decides which
    // entries the choices take and how the link is shown; it is still moved as a link.
    std::vector<std::uint8_t> folders;
};

// Which folder a descriptor reaches, and whether its entries' inode numbers identify them
// for good. FAT, exFAT and most FUSE or network mounts make inode numbers up afresh at
// every mount, so an entry is told by its size and modification time there.
struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool inodesAreStable = true;
    // Tells the folder from a newer one given its freed inode number; 0 when unknown.
    std::int64_t bornNanoseconds = 0;
    // The file system's own identity, derived from its UUID, which stays the same when its
    // disk comes back as another device; 0 where the file system has none.
    std::uint64_t volume = 0;
};

// What an entry keeps across a rename besides its inode number: size and modification
// time tell entries apart where inode numbers are made up at mount time, and the birth time
// (0 where the file system keeps none) tells an entry from a newer one on a reused number.
struct EntryStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t bornNanoseconds = 0;
    std::uint64_t inode = 0;
};

// When a photo or video was taken, and by which camera, as its own metadata says.
struct PhotoDate {
    // The instant, in nanoseconds since the epoch: in the zone of the offset tag where the
    // file has one, else in this computer's zone at that date.
    std::int64_t taken = 0;
    // The camera's clock reading itself, as if it were UTC, in nanoseconds: what a zone
    // given for the camera turns into an instant.
    std::int64_t clock = 0;
    // Seconds east of UTC, from the offset tag beside the date (a movie's UTC counts as 0);
    // none when the file says nothing of its zone.
    std::optional<std::int32_t> offset;
    // Maker and model, the maker not repeated ("Canon EOS R6"); empty when the file names
    // none.
    std::string camera;
    std::string serial;

    friend bool operator==(const PhotoDate&, const PhotoDate&) = default;
};

// The step of a no-replace move that failed.
enum class MoveStep {
    Rename,          // the rename itself, refusing to replace
    ClaimNewName,    // holding the new name with an empty placeholder
    RenameOntoClaim, // the rename onto that placeholder
};

struct MoveResult {
    std::error_code error;
    MoveStep failedStep = MoveStep::Rename;
    // The rename onto the placeholder failed and the placeholder could not be removed: an
    // empty file or folder the user never had now stands under the new name.
    bool placeholderLeft = false;

    // True when the move failed, as for an error code.
    explicit operator bool() const noexcept { return static_cast<bool>(error); }
};

// Where moves on a file system without a no-replace rename record the empty placeholders
// that claim new names, so that a process killed between a claim and its rename leaves
// none that nobody knows of.
class PlaceholderLog {
public:
    virtual ~PlaceholderLog() = default;
    // Called before the placeholder `name` is made, and must have made the record durable
    // when it returns; an error stops the move before anything is made.
    virtual std::error_code claiming(const std::string& name, bool isFolder) = 0;
    // Called once the placeholder stands, with its inode number.
    virtual void claimed(const std::string& name, std::uint64_t inode) = 0;
};

// The file-system operations the rename engine needs. Everything goes through one opened
// folder descriptor, so a path that is swapped or re-linked after opening cannot redirect
// later reads or moves to another folder. Names are raw bytes, never re-encoded.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::expected<UniqueFd, std::error_code> openFolder(const std::string& path) = 0;

    // Every entry directly inside the folder, "." and ".." excluded, in the order the
    // file system delivers them.
    virtual std::expected<FolderEntries, std::error_code> readEntries(const UniqueFd& folder) = 0;

    // Moves `from` to `to` inside the folder. Never replaces an existing `to`.
    virtual MoveResult move(const UniqueFd& folder, const std::string& from,
                            const std::string& to) = 0;

    // Makes the folder's entries, as they are now, survive a power cut.
    virtual std::error_code flush(const UniqueFd& folder) = 0;

    virtual std::expected<FolderIdentity, std::error_code> identify(const UniqueFd& folder) = 0;

    // The stamp of the entry `name` itself (a link is not followed). Called from two
    // threads at once for large folders.
    virtual std::expected<EntryStamp, std::error_code> stamp(const UniqueFd& folder,
                                                             const std::string& name) = 0;

    // When the photo or video `name` was taken, and by which camera, from its own metadata;
    // none for other entries and for metadata that is missing or cannot be read.
    virtual std::optional<PhotoDate> dateTaken(const UniqueFd& folder, const std::string& name) = 0;

    // The longest name, in bytes, that the folder's file system can hold.
    virtual std::size_t longestName(const UniqueFd& folder) = 0;

    // From now on, moves record the placeholders they make in `log`; none ends that.
    virtual void recordPlaceholdersIn(PlaceholderLog* log) { static_cast<void>(log); }

    // Removes the entry `name` only while it is an empty regular file, or an empty folder
    // when `isFolder`: what a placeholder is as long as nobody has used it.
    virtual std::error_code removeEmpty(const UniqueFd& folder, const std::string& name,
                                        bool isFolder) {
        static_cast<void>(folder);
        static_cast<void>(name);
        static_cast<void>(isFolder);
        return std::make_error_code(std::errc::operation_not_supported);
    }
};

} // namespace brindleaf
