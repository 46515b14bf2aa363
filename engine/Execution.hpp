#pragma once

#include "engine/FailureReporter.hpp"
#include "engine/Settings.hpp"
#include "platform/FileSystem.hpp"

#include <cstddef>

namespace brindleaf {

// Told of a run's progress before every move; it may stop the run.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    // False stops the run; every entry then goes back to its original name.
    virtual bool proceed(std::size_t movesDone, std::size_t movesTotal) = 0;
};

enum class RunOutcome {
    NothingToRename, // no folder chosen, or an empty one
    Renamed,         // every entry bears its new name
    Failed,          // reported: the listing failed, a new name was unusable (nothing moved),
                     // or a move failed (every name that could be restored was)
    Cancelled,       // the observer stopped the run; every entry is back under its original name
};

struct FolderPlan;

// Carries out a checked plan in its opened folder: both passes, undoing every move made when
// one fails or the observer stops the run.
RunOutcome renameInFolder(FileSystem& fileSystem, const UniqueFd& folder, const FolderPlan& plan,
                          FailureReporter& reporter, RunObserver& observer);

// Renames every entry of the folder in two passes, through temporary names, from a fresh
// listing. Before the first move the whole plan is checked; on a failing move the moves
// already made are undone in reverse. Failures go to `reporter`, one per run.
RunOutcome renameFiles(const Settings& settings, FileSystem& fileSystem, FailureReporter& reporter,
                       RunObserver& observer);
RunOutcome renameFiles(const Settings& settings, FileSystem& fileSystem, FailureReporter& reporter);

} // namespace brindleaf
