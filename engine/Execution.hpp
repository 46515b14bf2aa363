#pragma once

#include "engine/FailureReporter.hpp"
#include "engine/Journals.hpp"
#include "engine/RunObserver.hpp"
#include "engine/Settings.hpp"
#include "platform/FileSystem.hpp"

namespace brindleaf {

enum class RunOutcome {
    NothingToRename,    // no folder chosen, or an empty one
    Renamed,            // every entry bears its new name, on disk for good
    Failed,             // reported: the listing failed, a new name was unusable or the journal
                        // could not be written (nothing moved), or a move failed (every name
                        // that could be restored was)
    Cancelled,          // the observer stopped the run; every entry is back under its original name
    LastRunInterrupted, // nothing was moved: the folder's last run must be undone first
    AnotherRunGoing,    // nothing was moved: another process is renaming in the folder
};

struct FolderPlan;
struct OpenedPlan;

// Carries out a checked plan in its opened folder: both passes, undoing every move made when
// one fails or the observer stops the run. Neither journals nor flushes the run.
RunOutcome renameInFolder(FileSystem& fileSystem, const UniqueFd& folder, const FolderPlan& plan,
                          FailureReporter& reporter, RunObserver& observer);

// The whole run on a planned folder: the journal written and on disk before the first move,
// the moves, the folder flushed, and only then the journal marked finished. A run that put
// every name back leaves no journal behind.
RunOutcome renameJournalled(FileSystem& fileSystem, const OpenedPlan& opened,
                            const std::string& folderPath, Journals& journals,
                            FailureReporter& reporter, RunObserver& observer);

// Renames every entry of the folder from a fresh listing, as renameJournalled() does.
// Failures go to `reporter`, one per run.
RunOutcome renameFiles(const Settings& settings, FileSystem& fileSystem, Journals& journals,
                       FailureReporter& reporter, RunObserver& observer);
RunOutcome renameFiles(const Settings& settings, FileSystem& fileSystem, Journals& journals,
                       FailureReporter& reporter);

} // namespace brindleaf
