#include "cli/UndoWords.hpp"

#include "cli/ShownName.hpp"

namespace brindleaf::cli {

namespace {

std::string problemWord(JournalProblem problem) {
    switch (problem) {
    case JournalProblem::Unreadable:
        return "cannot be read";
    case JournalProblem::NotAJournal:
        return "is not a journal";
    case JournalProblem::Truncated:
        return "is truncated";
    case JournalProblem::Corrupt:
        return "is corrupt";
    }
    return "is corrupt";
}

std::string strandedList(const UndoReport& report) {
    const std::vector<std::string> originals = originalsOf(report.stranded);
    const std::string restored = originals.empty()
                                     ? " Every entry is back where the undo found it."
                                     : " " + entryCount(originals.size()) +
                                           " could not be given the original name back yet; "
                                           "'brindleaf-cli --undo' can try again:" +
                                           nameLines(originals);
    return restored + placeholderLines(report.placeholdersLeft);
}

std::string stampNote(const UndoReport& report) {
    return report.matchedByStamp ? "\nThis file system does not keep inode numbers, so entries "
                                   "were recognised by name, size and modification time."
                                 : "";
}

} // namespace

std::string describeUndo(const UndoReport& report, const std::string& folder,
                         const std::string& journalFolder) {
    switch (report.outcome) {
    case UndoOutcome::NothingToUndo:
        return "Nothing to undo in " + quotedName(folder) + ".";
    case UndoOutcome::FolderUnreadable:
        return "Cannot read folder " + quotedName(folder) + ": " + report.error.message();
    case UndoOutcome::InProgress:
        return describeUnfinishedRun(LastRunState::InProgress, folder);
    case UndoOutcome::JournalDamaged:
        return "The journal of the last run in " + quotedName(folder) + " " +
               problemWord(report.problem) + " (in " + quotedName(journalFolder) +
               "). Nothing was moved.";
    case UndoOutcome::Restored:
        return "Gave " + entryCount(report.restored) + " in " + quotedName(folder) +
               " their original names back." + stampNote(report);
    case UndoOutcome::PartlyRestored:
        return "Gave " + entryCount(report.restored) + " in " + quotedName(folder) +
               " their original names back. " + entryCount(report.leftAlone.size()) +
               " changed by another program since the run, whose name another entry now "
               "holds, or that cannot be told apart from another entry, were left alone:" +
               nameLines(report.leftAlone) + stampNote(report);
    case UndoOutcome::Failed:
        if (report.failure) {
            return "Cannot rename " + quotedName(report.failure->entrySource) + " to " +
                   quotedName(report.failure->entryDestination) + ": " +
                   report.failure->code.message() + "." + strandedList(report);
        }
        return "Cannot finish the undo: " + report.error.message() + "." + strandedList(report);
    case UndoOutcome::Cancelled:
        return "The undo was stopped." + strandedList(report);
    }
    return {};
}

std::string describeUnfinishedRun(LastRunState state, const std::string& folder) {
    if (state == LastRunState::InProgress) {
        return "Another run is renaming the entries of " + quotedName(folder) +
               " now. Nothing was changed.";
    }
    return "The last run in " + quotedName(folder) +
           " did not finish, so some entries may still bear temporary names. Run "
           "'brindleaf-cli --undo " +
           shownName(folder) + "' to give them their original names back. Nothing was changed.";
}

} // namespace brindleaf::cli
