#pragma once

#include "platform/FileSystem.hpp"
#include "platform/JournalFiles.hpp"

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brindleaf {

// Where a recorded run stands. Only a run that is neither finished nor undone, and whose
// process is gone, was interrupted.
enum class RunState { Running, Finished, Undoing, Undone };

// Why a journal cannot be trusted.
enum class JournalProblem { Unreadable, NotAJournal, Truncated, Corrupt };

// One entry of a recorded run. On file systems with stable inode numbers the inode tells
// the entry; elsewhere its stamp (size and modification time) does.
struct JournalEntry {
    std::string original;
    std::string renamed;
    std::uint64_t inode = 0;
    EntryStamp stamp;
};

// What the first lines of a journal say, readable without the entries.
struct JournalHead {
    RunState state = RunState::Running;
    // The state line does not hold a known state, or fails its checksum.
    bool stateDamaged = false;
    // The suffixes of the temporary names that undoing the run has used, oldest first.
    std::vector<std::string> undoSuffixes;
    std::string folderPath;
    FolderIdentity folder;
    std::size_t entryCount = 0;
    // When the journal was written. An entry born after it is none the run renamed, even
    // if it was given the inode number of one that was.
    std::int64_t startedNanoseconds = 0;
};

// An empty file or folder that a move made to claim a new name, recorded before it was made;
// the move may have been cut short before it used it.
struct RecordedPlaceholder {
    std::string name;
    bool isFolder = false;
    // 0 when the process ended before it could record the number.
    std::uint64_t inode = 0;
};

struct RunRecord {
    JournalHead head;
    std::vector<JournalEntry> entries;
    // Recorded after the journal's end, as the moves made them.
    std::vector<RecordedPlaceholder> placeholders;
};

// The first line of every journal; it has a fixed length so that a change of state can
// overwrite it in place.
// Suffixes that would not fit it are dropped, oldest first.
std::string journalStateLine(RunState state, std::span<const std::string> undoSuffixes = {});

// Writes a journal piece by piece, so a run of a million entries is never held twice. The
// entries are followed by a checksum of everything after the state line, which tells a
// complete journal from a truncated or damaged one.
class JournalEncoder {
public:
    JournalEncoder(JournalFile& file, const std::string& folderPath, const FolderIdentity& folder,
                   std::int64_t startedNanoseconds, std::size_t entryCount,
                   RunState state = RunState::Running,
                   std::span<const std::string> undoSuffixes = {});
    void add(std::string_view original, std::string_view renamed, std::uint64_t inode,
             const EntryStamp& stamp);
    void finish();

private:
    void put(std::string_view bytes);

    JournalFile& file_;
    std::uint64_t checksum_;
    std::string line_;
};

// The state line and the lines about the folder. Needs only the first bytes of a journal.
std::expected<JournalHead, JournalProblem> decodeJournalHead(std::string_view bytes);

// Reads a journal handed over piece by piece, so that only the entries it reads are ever
// held, never the file: a journal longer than its entries can make it, or whose entries
// stop making sense, is given up as soon as that shows.
class JournalDecoder {
public:
    // `size`: how many bytes the whole journal holds.
    explicit JournalDecoder(std::uint64_t size) : size_(size) {}

    // False once the journal is known to be damaged: reading on is of no use.
    bool feed(std::string_view bytes);
    // The whole journal, checked against its checksum, once every byte was fed.
    std::expected<RunRecord, JournalProblem> finish();

private:
    bool decodeHead(bool atEnd);
    void decodeEntries(bool atEnd);
    void checkTrailer(bool atEnd);
    void readPlaceholders(bool atEnd);

    std::uint64_t size_;
    std::string pending_;
    std::optional<RunRecord> record_;
    std::optional<JournalProblem> problem_;
    std::uint64_t checksum_;
    bool entriesDone_ = false;
    bool trailerRead_ = false;
};

// The whole journal, checked against its checksum.
std::expected<RunRecord, JournalProblem> decodeJournal(std::string_view bytes);

// The entries a damaged journal still holds, up to the first that cannot be read; its
// checksum is not asked for. Only to tell the user what a journal set aside named.
std::vector<JournalEntry> readableEntries(std::string_view bytes);

// Enough of a journal's start to hold its head whatever the folder's path.
inline constexpr std::size_t journalHeadBytes = 8192;

// Whether a journal's last bytes are the line that closes a complete one, or a placeholder
// record, which is only ever written after that line. Cheap enough for every listing; only
// undo reads the whole journal to check its checksum.
bool endsComplete(std::string_view tail);

// Whether a journal of `size` bytes is no larger than one with its head's count of entries
// can be, every name as long as a file system allows. A larger one is not read on.
bool sizeFitsEntries(const JournalHead& head, std::uint64_t size);
// The most bytes a journal whose head says this can hold, capped at what memory can address.
std::uint64_t longestJournalOf(const JournalHead& head);

// The lines that record placeholders after a journal's end: each is appended while the run
// goes on, and carries a checksum of its own, so that a line cut short by a crash is told
// from one that was written whole.
std::string placeholderLine(std::string_view name, bool isFolder);
std::string placeholderInodeLine(std::string_view name, std::uint64_t inode);

// The placeholders that `lines`, the bytes after a journal's end, record; a last line cut
// short is no record. None when a whole line is not such a record.
std::optional<std::vector<RecordedPlaceholder>> placeholdersRecorded(std::string_view lines);
// The same, record by record: adds to `into` the records at the start of `lines` and leaves
// in `lines` what follows the last whole one; false when a whole line is no record.
bool readPlaceholderRecords(std::string_view& lines, std::vector<RecordedPlaceholder>& into);

// Records in a run's committed journal the placeholders that moves make, for as long as it
// lives: undo removes those still empty.
class JournalledPlaceholders final : public PlaceholderLog {
public:
    JournalledPlaceholders(FileSystem& fileSystem, JournalFile& journal)
        : fileSystem_(fileSystem), journal_(journal) {
        fileSystem_.recordPlaceholdersIn(this);
    }
    ~JournalledPlaceholders() override { fileSystem_.recordPlaceholdersIn(nullptr); }
    JournalledPlaceholders(const JournalledPlaceholders&) = delete;
    JournalledPlaceholders& operator=(const JournalledPlaceholders&) = delete;

    std::error_code claiming(const std::string& name, bool isFolder) override {
        return journal_.appendNow(placeholderLine(name, isFolder), true);
    }
    // Not flushed: without it, an empty placeholder is still recognised by its name.
    void claimed(const std::string& name, std::uint64_t inode) override {
        static_cast<void>(journal_.appendNow(placeholderInodeLine(name, inode), false));
    }

private:
    FileSystem& fileSystem_;
    JournalFile& journal_;
};

} // namespace brindleaf
