#pragma once

#include "engine/Journals.hpp"
#include "engine/Undo.hpp"

#include <string>

namespace brindleaf::cli {

// English for what an undo did; one line, or a line and the names it concerns.
std::string describeUndo(const UndoReport& report, const std::string& folder,
                         const std::string& journalFolder);

// Why nothing is planned in a folder whose last run has not finished.
std::string describeUnfinishedRun(LastRunState state, const std::string& folder);

} // namespace brindleaf::cli
