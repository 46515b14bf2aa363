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
    JournalDamaged,   // the journal is truncated or corrupt; see `problem`; nothing moved
    Restored,         // every entry of the run has its original name again
    PartlyRestored,   // the others have; the entries in `leftAlone` were changed since
    Failed,           // a move failed (`failure`); what the undo moved was taken back
    Cancelled,        // stopped; what the undo moved was taken back
};

// What undoing a folder's last run did, for a front end to put into words.
struct UndoReport {
    UndoOutcome outcome = UndoOutcome::NothingToUndo;
    std::size_t restored = 0;
    // Original names of entries that another program has replaced, removed or renamed since
    // the run, or whose original name another entry now holds. They were left alone.
    std::vector<std::string> leftAlone;
    // The file system makes up inode numbers at mount time, so entries were recognised by
    // name, size and modification time instead.
    bool matchedByStamp = false;
    std::error_code error;
    JournalProblem problem = JournalProblem::Unreadable;
    std::optional<FailedMove> failure;
    std::vector<Stranded> stranded;
    // Empty placeholders that failed moves made and could not remove again.
    std::vector<std::string> placeholdersLeft;
};

// Gives every entry of the folder's last run its original name back, wherever the run
// left it: under its new name, its temporary name, or where an earlier undo left it.
// Entries are recognised by identity, never by name alone; the moves are as safe as a
// run's, and the journal records the undo so it cannot happen twice.
UndoReport undoLastRun(FileSystem& fileSystem, const std::string& targetDir, Journals& journals,
                       RunObserver& observer);

} // namespace brindleaf
