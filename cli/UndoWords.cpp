#include "cli/UndoWords.hpp"

#include "cli/ShownName.hpp"

namespace brindleaf::cli {

namespace {

std::string quoted(const std::string& name) {
    return "\"" + shownName(name) + "\"";
}

std::string entries(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " entry" : " entries");
}

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

std::string listOf(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += "\n  " + quoted(name);
    }
    return text;
}

std::string strandedList(const UndoReport& report) {
    std::string left;
    for (const std::string& placeholder : report.placeholdersLeft) {
        left += "\nAn empty placeholder could not be removed and was left behind: " +
                quoted(placeholder) + ".";
    }
    if (report.stranded.empty()) {
        return " Every entry is back where the undo found it." + left;
    }
    std::string text = " " + entries(report.stranded.size()) +
                       " could not be given the original name back yet; 'brindleaf-cli --undo' "
                       "can try again:";
    for (const Stranded& entry : report.stranded) {
        text += "\n  " + quoted(entry.original);
    }
    return text + left;
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
        return "Nothing to undo in " + quoted(folder) + ".";
    case UndoOutcome::FolderUnreadable:
        return "Cannot read folder " + quoted(folder) + ": " + report.error.message();
    case UndoOutcome::InProgress:
        return describeUnfinishedRun(LastRunState::InProgress, folder);
    case UndoOutcome::JournalDamaged:
        return "The journal of the last run in " + quoted(folder) + " " +
               problemWord(report.problem) + " (in " + quoted(journalFolder) +
               "). Nothing was moved.";
    case UndoOutcome::Restored:
        return "Gave " + entries(report.restored) + " in " + quoted(folder) +
               " their original names back." + stampNote(report);
    case UndoOutcome::PartlyRestored:
        return "Gave " + entries(report.restored) + " in " + quoted(folder) +
               " their original names back. " + entries(report.leftAlone.size()) +
               " changed by another program since the run, whose name another entry now "
               "holds, or that cannot be told apart from another entry, were left alone:" +
               listOf(report.leftAlone) + stampNote(report);
    case UndoOutcome::Failed:
        if (report.failure) {
            return "Cannot rename " + quoted(report.failure->entrySource) + " to " +
                   quoted(report.failure->entryDestination) + ": " +
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
        return "Another run is renaming the entries of " + quoted(folder) +
               " now. Nothing was changed.";
    }
    return "The last run in " + quoted(folder) +
           " did not finish, so some entries may still bear temporary names. Run "
           "'brindleaf-cli --undo " +
           shownName(folder) + "' to give them their original names back. Nothing was changed.";
}

} // namespace brindleaf::cli
