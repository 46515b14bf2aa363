#pragma once

#include "engine/Execution.hpp"
#include "engine/Journals.hpp"
#include "engine/NameFormat.hpp"
#include "engine/Settings.hpp"
#include "engine/Summary.hpp"
#include "engine/Undo.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace brindleaf {

// What the check the engine makes before the first move finds in the shown names, made as
// the user types, so that a plan that would be refused never looks fine until after OK.
struct NameCheck {
    std::optional<NameProblem> problem;
    // The part of the names to change, with `problem`.
    NamePart partAtFault = NamePart::Prefix;
    // The most bytes a new name may have in the folder.
    std::uint64_t longestNewName = 0;
    // False while every entry already bears the name the settings would give it. An empty
    // folder counts as changing: renaming it still asks, to say that nothing will be renamed.
    bool changesNames = true;
};

// What a rename did; or nothing, because the folder no longer held what its preview showed
// when the run listed it afresh.
struct RenameResult {
    RunReport report;
    bool folderChanged = false;
};

// How a run ended: what it did, and the signal that stopped it, if one did.
struct FinishedRun {
    std::variant<RenameResult, UndoReport> result;
    // SIGINT, SIGTERM or SIGHUP, which asks the program to end now that every name is back;
    // 0 when none came.
    int signal = 0;
};

// What the session is doing.
namespace activity {
struct Idle {};
// The folder is being listed or ordered; the rows show the result when done.
struct Loading {};
// The listing reads dates: `done` of `total` entries so far.
struct ReadingDates {
    std::size_t done = 0;
    std::size_t total = 0;
};
// A run or an undo moves entries: `done` of `total` have their new names. Both are 0 while
// the run lists the folder and writes its journal, before the first move.
struct Running {
    std::size_t done = 0;
    std::size_t total = 0;
};
// Published once, as a run ends; the session goes on to list the folder again, or idles.
struct Finished {
    FinishedRun run;
};
} // namespace activity

using Activity = std::variant<activity::Idle, activity::Loading, activity::ReadingDates,
                              activity::Running, activity::Finished>;

// Everything the window shows of a folder session, published whole whenever a part changes.
struct SessionState {
    Activity activity;
    Settings settings;
    // Whether a folder's listing is shown: not while none is chosen, while it is still being
    // read, or once it could not be.
    bool folderShown = false;
    // The rows show the dates they are numbered by.
    bool showsDates = false;
    // The rows show the camera of each photo: they are numbered by dates taken.
    bool showsCameras = false;
    std::size_t rows = 0;
    ListingSummary summary;
    // Of the shown entries, those left out of the numbering, those numbered by their
    // modified time for want of a date taken, and the numbered files the format gives
    // another extension than their own.
    std::size_t leftOut = 0;
    std::size_t withoutDateTaken = 0;
    std::size_t extensionChanges = 0;
    // Of the numbered entries, those with a date taken read in this computer's zone, for
    // want of an offset tag or a zone given for their camera.
    std::size_t inComputerZone = 0;
    NameCheck nameCheck;
    RecordedRun lastRun;
    // Where the runs are journalled: the window names it when it cannot be used.
    std::string journalFolder;

    [[nodiscard]] bool isLoading() const {
        return std::holds_alternative<activity::Loading>(activity) ||
               std::holds_alternative<activity::ReadingDates>(activity);
    }
    [[nodiscard]] bool isRunning() const {
        return std::holds_alternative<activity::Running>(activity);
    }
    [[nodiscard]] bool isIdle() const { return std::holds_alternative<activity::Idle>(activity); }
    // The folder's last run did not finish, or cannot be told to have: nothing is renamed
    // until it is dealt with.
    [[nodiscard]] bool lastRunUnfinished() const { return refusesRenaming(lastRun.state); }
    // Nothing is renamed or undone while the preview is still being made or a run goes on.
    [[nodiscard]] bool canRename() const {
        return isIdle() && !nameCheck.problem && nameCheck.changesNames && !lastRunUnfinished();
    }
    [[nodiscard]] bool canUndo() const {
        return isIdle() && (lastRun.state == RecordedRunState::Finished ||
                            lastRun.state == RecordedRunState::Interrupted ||
                            lastRun.state == RecordedRunState::Damaged);
    }
};

} // namespace brindleaf
