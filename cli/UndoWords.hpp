#pragma once

#include "engine/Forget.hpp"
#include "engine/Journals.hpp"
#include "engine/Undo.hpp"

#include <cstdint>
#include <string>
#include <system_error>

namespace brindleaf::cli {

// English for what an undo did; one line, or a line and the names it concerns.
std::string describeUndo(const UndoReport& report, const std::string& folder,
                         const std::string& journalFolder);

// What setting a damaged journal aside found and did.
std::string describeForget(const ForgetReport& report, const std::string& folder,
                           const std::string& journalFolder);

// A run's start as local time, "2026-12-07 14:03:05".
std::string runTime(std::int64_t startedNanoseconds);

// One line of a folder's history: when, how many entries, its state, and whether undo
// can still reach it.
std::string describeRun(const RecordedRun& run, bool undoable);

// Why nothing is planned in a folder whose last run has not finished.
std::string describeUnfinishedRun(RecordedRunState state, const std::string& folder);

// Why the runs of a folder cannot be told: the journal folder cannot be read or trusted.
std::string describeUnreadableJournals(const std::string& journalFolder, std::error_code error);

} // namespace brindleaf::cli
