#pragma once

#include "engine/BatchMoves.hpp"
#include "engine/Journals.hpp"
#include "engine/RunObserver.hpp"
#include "platform/FileSystem.hpp"

#include <cstddef>
#include <string>
#include <system_error>
#include <vector>

namespace brindleaf {

enum class UndoOutcome {
    NothingToUndo,    // no run recorded for the folder, or its last run was undone already
    FolderUnreadable, // the folder cannot be opened or listed; see `error`
    InProgress,       // another process is renaming in the folder now
    JournalDamaged,   // the journal is truncated or corrupt and no entry of it can be read; see
                      // `problem`; nothing moved
    Restored,         // every entry of the run has its original name again
    PartlyRestored,   // the others have; the entries in `leftAlone` were changed since
    NoneRestored,     // no entry could be moved back (see `leftAlone`); the run stays as it was
    Failed,    // a move failed (`failure`), or the folder could not be flushed or the journal
               // updated (`error`); the `restored` entries moved back stay back, and the
               // journal still leads undo to the others
    Cancelled, // stopped; the `restored` entries moved back stay back, the others are where
               // they were, and the journal leads undo to them
    // The journal folder cannot be read or trusted; see `error`.
    JournalsUnreadable,
};

// Why undo left an entry of the run where it is.
enum class LeftAloneReason {
    Missing,     // no entry holds any name the run or an undo can have left it under
    Replaced,    // the entry there is another one: another inode, or born after the run
    SizeChanged, // the entry there differs in size from the one the run renamed
    TimeChanged, // the entry there differs in modification time from the one the run renamed
    LooksAlike,  // more than one entry matches it by size and modification time
    NameTaken,   // another entry that stays holds its original name
};

struct LeftAlone {
    std::string original;
    LeftAloneReason reason = LeftAloneReason::Missing;

    bool operator==(const LeftAlone&) const = default;
};

// What undoing a folder's run did, for a front end to put into words.
struct UndoReport {
    UndoOutcome outcome = UndoOutcome::NothingToUndo;
    // Entries this undo moved back to their original names, whatever failed after.
    std::size_t restored = 0;
    // Entries this undo set out to move back: `restored` of them are back.
    std::size_t toRestore = 0;
    // The moves went as far as told, but the journal could not be updated to say so (see
    // `error`); it still leads undo to every entry the run renamed.
    bool notRecorded = false;
    // ... because the folder could not be flushed to disk first.
    bool notFlushed = false;
    // The run's journal was damaged: only the entries that could still be read were tried.
    // The `unreadEntries` it named beyond those keep their names; a damaged journal that
    // lost some is set aside, never deleted, and a sound one of the others replaces it.
    bool fromDamagedRecord = false;
    std::size_t unreadEntries = 0;
    // Entries of the run found under their original names already.
    std::size_t alreadyOriginal = 0;
    // Entries left where they are, and why; a later undo can try them again.
    std::vector<LeftAlone> leftAlone;
    // The run undone, or the one that could not be.
    RecordedRun run;
    // The file system makes up inode numbers at mount time, so entries were recognised by
    // name, size and modification time instead.
    bool matchedByStamp = false;
    std::error_code error;
    JournalProblem problem = JournalProblem::Unreadable;
    std::optional<FailedMove> failure;
    // Empty placeholders that failed moves made and could not remove again.
    std::vector<std::string> placeholdersLeft;
};

// Gives every entry of the folder's newest run not yet undone its original name back,
// wherever the run left it: under its new name, its temporary name, or where an earlier
// undo left it. Entries are recognised by identity, never by name alone; the moves are as
// safe as a run's. The journal records the undo so it cannot happen twice: a run whose
// every entry is back is marked undone, and the next undo takes the run before it; one
// that restored some keeps only the others; one that restored none stays as it was. An
// undo stopped, or failing on a move, keeps the names it gave back: each move brings an
// entry home, and the journal keeps only the others, as a run that did not finish.
UndoReport undoLastRun(FileSystem& fileSystem, const std::string& targetDir, Journals& journals,
                       RunObserver& observer);

} // namespace brindleaf
