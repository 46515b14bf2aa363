#pragma once

#include "engine/JournalFormat.hpp"
#include "platform/FileSystem.hpp"
#include "platform/JournalFiles.hpp"

#include <cstddef>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace brindleaf {

// What the journals say of a folder's runs.
enum class RecordedRunState {
    None,        // no run recorded, or only runs that were rolled back
    Finished,    // can be undone
    Interrupted, // stopped before it finished; its names must be restored before anything else
    InProgress,  // another process is renaming there now, or undoing, or checking to do so
    Undone,
    Damaged, // its journal's state cannot be read; nothing may move until it is dealt with
    // The journal folder cannot be read or is not trusted (see RecordedRun::error): what the
    // folder's runs are cannot be told, so none of them may be taken for none.
    JournalsUnreadable,
};

// Whether a folder whose last run is in this state must not be renamed: the names it holds
// may be a run's temporary ones until that run is dealt with.
constexpr bool refusesRenaming(RecordedRunState state) {
    return state == RecordedRunState::Interrupted || state == RecordedRunState::InProgress ||
           state == RecordedRunState::Damaged || state == RecordedRunState::JournalsUnreadable;
}

// One recorded run of a folder, as the head of its journal tells it.
struct RecordedRun {
    RecordedRunState state = RecordedRunState::None;
    std::string journalName;
    // The entries the run gave new names; unknown when the journal's head cannot be read.
    std::optional<std::size_t> entryCount;
    std::int64_t startedNanoseconds = 0;
    // Why the journal folder could not be read, for JournalsUnreadable.
    std::error_code error;
    // What is wrong with the journal, for Damaged.
    JournalProblem problem = JournalProblem::Corrupt;
};

// Whether the run's journal is no file this process could have written, a FIFO or a link
// say, so that no run can be holding it, and setting it aside is all that can be done.
inline bool journalCannotBeOpened(const RecordedRun& run, std::error_code openFailed) {
    return run.state == RecordedRunState::Damaged && run.problem == JournalProblem::Unreadable &&
           openFailed != std::errc::operation_would_block;
}

// A run of a folder's history, and whether undo, taking back one run after another, can
// still reach it: not undone, and no run in progress or with a damaged journal after it.
struct PastRun {
    RecordedRun run;
    bool undoable = false;
};

// The run journals: written before a run's first move, marked when it ends, read to undo it.
class Journals {
public:
    // Each folder keeps at least its last `runsPerFolder` runs, whatever other folders do;
    // beyond `bytes` on disk in all, the oldest finished or undone runs go first, but never
    // a folder's newest run. A run that never finished, or whose journal is damaged, is never
    // removed: without its journal its names could not be found again. A file that is no
    // folder's journal is set aside, never deleted.
    struct Limits {
        std::size_t runsPerFolder = 20;
        std::uint64_t bytes = std::uint64_t{1} << 30;
    };

    explicit Journals(JournalFolder folder) : folder_(std::move(folder)) {}
    Journals(JournalFolder folder, Limits limits) : folder_(std::move(folder)), limits_(limits) {}

    [[nodiscard]] const JournalFolder& folder() const { return folder_; }

    // The run that decides what may happen in the folder at `folderPath` or with the identity
    // `folder`: the newest one not undone yet, which undo takes next; Undone when every
    // recorded run is.
    [[nodiscard]] RecordedRun lastRunOf(const std::string& folderPath,
                                        const FolderIdentity& folder) const;

    // Taken before lastRunOf() by a run or an undo of the folder, and held until its journal
    // is in place and locked: another that finds it held is told EWOULDBLOCK at once, as
    // another program is renaming there.
    [[nodiscard]] std::expected<FolderLock, std::error_code>
    lockFolder(const std::string& folderPath, const FolderIdentity& folder) const;

    // Every recorded run of the folder, newest first; fails when the journal folder cannot
    // be read or trusted.
    [[nodiscard]] std::expected<std::vector<PastRun>, std::error_code>
    historyOf(const std::string& folderPath, const FolderIdentity& folder) const;

    // Writes the journal of a run about to begin and makes it durable; the returned file
    // stays locked until the run has ended. A journal that cannot be written is removed.
    [[nodiscard]] std::expected<JournalFile, std::error_code>
    record(FileSystem& fileSystem, const UniqueFd& folder, const std::string& folderPath,
           std::span<const std::string> originals, std::span<const std::string> renamed,
           std::span<const std::uint64_t> inodes);

    // Forgets a run that left every name as it found it.
    void forget(const JournalFile& journal) const;

    [[nodiscard]] std::expected<RunRecord, JournalProblem> load(const std::string& name) const;

    // A damaged journal's bytes, only as many as the entries its head declares can fill:
    // padding past them is never read into memory.
    [[nodiscard]] std::expected<std::string, std::error_code>
    readDamaged(const std::string& name) const;

    // A new journal of the run `record` tells, with its entries, in the state Undoing: the
    // part of a damaged journal that can still be read, recorded beside it.
    [[nodiscard]] std::expected<JournalFile, std::error_code>
    recordPart(const RunRecord& record) const;

    // Replaces the journal with one of the same run that holds only the entries at
    // `positions`, in the state `state`; `journal` then holds the new one.
    std::error_code keepOnly(JournalFile& journal, const RunRecord& record,
                             std::span<const std::size_t> positions, RunState state,
                             std::span<const std::string> undoSuffixes) const;

private:
    template <typename Visit>
    std::error_code visitRunsOf(const std::string& folderPath, const FolderIdentity& folder,
                                Visit visit) const;
    void prune(const std::string& newest) const;

    JournalFolder folder_;
    Limits limits_;
};

// Moves the journal to a new state and makes that durable.
std::error_code markJournal(JournalFile& journal, RunState state,
                            std::span<const std::string> undoSuffixes = {});

} // namespace brindleaf
