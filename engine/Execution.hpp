#pragma once

#include "engine/Error.hpp"
#include "engine/Journals.hpp"
#include "engine/RunObserver.hpp"
#include "engine/Settings.hpp"
#include "platform/FileSystem.hpp"

#include <vector>

namespace brindleaf {

enum class RunOutcome {
    NothingToRename, // no folder chosen, or an empty one
    AlreadyNamed,    // every entry already bears its new name: nothing journalled or moved
    Renamed,         // every entry bears its new name, on disk for good
    Failed,          // see `failures`: the listing failed, a new name was unusable or the journal
                     // could not be written (nothing moved), or a move failed (every name
                     // that could be restored was)
    Cancelled,       // the observer stopped the run; every entry is back under its original name
    LastRunInterrupted, // nothing was moved: the folder's last run must be undone first
    LastRunDamaged,     // nothing was moved: the journal of the folder's last run is damaged
    AnotherRunGoing,    // nothing was moved: another process is renaming in the folder
};

// How a run ended, and what it did.
struct RunReport {
    RunOutcome outcome = RunOutcome::NothingToRename;
    // Entries that moved to their new names; when the run failed or was stopped, those
    // that would have.
    std::size_t moved = 0;
    // Entries that bore their new names already, and so did not move.
    std::size_t alreadyNamed = 0;
    // Entries the choices left out of the numbering, which keep their names.
    std::size_t leftOut = 0;
    // What went wrong, in the order it happened, for a front end to put into words.
    std::vector<Error> failures;
};

struct FolderPlan;
struct OpenedPlan;

// Carries out a checked plan in its opened folder: both passes, undoing every move made when
// one fails or the observer stops the run. Neither journals nor flushes the run.
RunReport renameInFolder(FileSystem& fileSystem, const UniqueFd& folder, const FolderPlan& plan,
                         RunObserver& observer);

// The whole run on a planned folder: the journal written and on disk before the first move,
// the moves, the folder flushed, and only then the journal marked finished. A run that put
// every name back leaves no journal behind. Only the entries whose names change are
// journalled and moved.
RunReport renameJournalled(FileSystem& fileSystem, const OpenedPlan& opened,
                           const std::string& folderPath, Journals& journals,
                           RunObserver& observer);

// Renames every entry of the folder from a fresh listing, as renameJournalled() does.
RunReport renameFiles(const Settings& settings, FileSystem& fileSystem, Journals& journals,
                      RunObserver& observer);
RunReport renameFiles(const Settings& settings, FileSystem& fileSystem, Journals& journals);

} // namespace brindleaf
