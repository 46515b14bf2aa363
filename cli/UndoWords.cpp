#include "cli/UndoWords.hpp"

#include "cli/ShownName.hpp"

#include <ctime>

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

// Why a journal folder is not used, in the words of this front end.
std::string journalFolderReason(std::error_code error) {
    if (error.category() != journalFolderCategory()) {
        return error.message();
    }
    switch (static_cast<JournalFolderProblem>(error.value())) {
    case JournalFolderProblem::IsALink:
        return "it is a symbolic link";
    case JournalFolderProblem::NotAFolder:
        return "it is not a folder";
    case JournalFolderProblem::OwnedByAnotherUser:
        return "it belongs to another user";
    case JournalFolderProblem::WritableByOthers:
        return "other users may write to it";
    }
    return error.message();
}

std::string reasonWords(LeftAloneReason reason) {
    switch (reason) {
    case LeftAloneReason::Missing:
        return "not found under any name the run gave it";
    case LeftAloneReason::Replaced:
        return "another entry stands under its new name";
    case LeftAloneReason::SizeChanged:
        return "the entry under its new name differs in size from the one renamed";
    case LeftAloneReason::TimeChanged:
        return "the entry under its new name differs in modification time from the one renamed";
    case LeftAloneReason::LooksAlike:
        return "more than one entry looks like it";
    case LeftAloneReason::NameTaken:
        return "another entry holds its original name";
    }
    return "left alone";
}

std::string leftAloneLines(const UndoReport& report) {
    std::string lines;
    for (const LeftAlone& entry : report.leftAlone) {
        lines += "\n  " + shownName(entry.original) + ": " + reasonWords(entry.reason);
    }
    return lines;
}

// How far an undo that did not finish got, and what a later undo does.
std::string howFar(const UndoReport& report) {
    std::string text = " " + std::to_string(report.restored) + " of " +
                       entryCount(report.toRestore) + " " + (report.restored == 1 ? "is" : "are") +
                       " back under the original name";
    if (report.notFlushed) {
        text += "; the folder could not be flushed to disk (" + report.error.message() + ")";
    } else if (report.notRecorded) {
        text += "; the record could not be updated (" + report.error.message() + ")";
    }
    text += report.restored == report.toRestore ? "; 'brindleaf-cli --undo' completes the record."
                                                : "; 'brindleaf-cli --undo' gives back the rest.";
    return text + placeholderLines(report.placeholdersLeft);
}

std::string stampNote(const UndoReport& report) {
    return report.matchedByStamp ? "\nThis file system does not keep inode numbers, so entries "
                                   "were recognised by name, size and modification time."
                                 : "";
}

// What a damaged journal still told, and what became of the entries it no longer tells.
std::string damagedNote(const UndoReport& report, const std::string& journalFolder) {
    if (!report.fromDamagedRecord) {
        return {};
    }
    std::string text =
        "\nThe journal of this run was damaged; undo used the entries it could still "
        "read.";
    if (report.unreadEntries > 0) {
        text += " " + entryCount(report.unreadEntries) +
                (report.unreadEntries == 1
                     ? " it named could not be read and keeps the name it has now"
                     : " it named could not be read and keep the names they have now") +
                ". The damaged journal is kept in " + quotedName(journalFolder) +
                ", and the folder is not renamed until 'brindleaf-cli --forget' sets it aside.";
    }
    return text;
}

std::string gaveBack(const UndoReport& report, const std::string& folder) {
    std::string text =
        "Gave " + entryCount(report.restored) + " of the run of " +
        runTime(report.run.startedNanoseconds) + " in " + quotedName(folder) +
        (report.restored == 1 ? " its original name back." : " their original names back.");
    if (report.alreadyOriginal > 0) {
        text += " " + entryCount(report.alreadyOriginal) + " had them already.";
    }
    return text;
}

std::string forgetHint(const std::string& folder) {
    return "'brindleaf-cli --forget " + shownName(folder) +
           "' lists the entries it names that are still under a new or temporary name, and "
           "sets it aside so the folder can be renamed again.";
}

std::string strandedLines(const std::vector<StrandedEntry>& stranded) {
    std::string lines;
    for (const StrandedEntry& entry : stranded) {
        lines += "\n  " + shownName(entry.original) + " is now " +
                 (entry.temporary ? "under a temporary name, " : "") + quotedName(entry.current);
    }
    return lines;
}

} // namespace

std::string describeForget(const ForgetReport& report, const std::string& folder,
                           const std::string& journalFolder) {
    switch (report.outcome) {
    case ForgetOutcome::NothingToForget:
        return "No run of " + quotedName(folder) + " waits to be undone; nothing to set aside.";
    case ForgetOutcome::JournalIntact:
        return "The journal of the last run in " + quotedName(folder) +
               " can be read, so it is not set aside: 'brindleaf-cli --undo " + shownName(folder) +
               "' gives its entries their original names back.";
    case ForgetOutcome::InProgress:
        return describeUnfinishedRun(RecordedRunState::InProgress, folder);
    case ForgetOutcome::FolderUnreadable:
        return "Cannot read folder " + quotedName(folder) + ": " + report.error.message();
    case ForgetOutcome::JournalsUnreadable:
        return describeUnreadableJournals(journalFolder, report.error);
    case ForgetOutcome::Examined:
    case ForgetOutcome::SetAside:
    case ForgetOutcome::Failed:
        break;
    }
    const std::string named = report.entriesNamed
                                  ? "It names " + entryCount(*report.entriesNamed) + ", of which "
                                  : "How many entries it names cannot be told; ";
    std::string text = "The journal of the run of " + runTime(report.run.startedNanoseconds) +
                       " in " + quotedName(folder) + " " + problemWord(report.problem) + ". " +
                       named + std::to_string(report.entriesRead) + " can be read; of those, " +
                       std::to_string(report.stranded.size()) +
                       (report.stranded.size() == 1 ? " is" : " are") +
                       " still under a new or temporary name" +
                       (report.stranded.empty() ? "." : ":") + strandedLines(report.stranded);
    if (report.outcome == ForgetOutcome::Failed) {
        return text + "\nCannot set it aside: " + report.error.message() + ".";
    }
    if (report.outcome == ForgetOutcome::SetAside) {
        text += "\nSet it aside as " + quotedName(journalFolder + "/" + report.setAsideAs) +
                ". Nothing was moved; every entry keeps the name it has now.";
    }
    return text;
}

std::string runTime(std::int64_t startedNanoseconds) {
    const std::time_t seconds = static_cast<std::time_t>(startedNanoseconds / 1'000'000'000);
    std::tm local{};
    char text[32] = "an unknown time";
    if (::localtime_r(&seconds, &local) != nullptr) {
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    }
    return text;
}

namespace {

std::string undoOutcomeWords(const UndoReport& report, const std::string& folder,
                             const std::string& journalFolder) {
    switch (report.outcome) {
    case UndoOutcome::NothingToUndo:
        return "Nothing to undo in " + quotedName(folder) + ".";
    case UndoOutcome::FolderUnreadable:
        return "Cannot read folder " + quotedName(folder) + ": " + report.error.message();
    case UndoOutcome::JournalsUnreadable:
        return describeUnreadableJournals(journalFolder, report.error);
    case UndoOutcome::InProgress:
        return describeUnfinishedRun(RecordedRunState::InProgress, folder);
    case UndoOutcome::JournalDamaged:
        return "The journal of the run of " + runTime(report.run.startedNanoseconds) + " in " +
               quotedName(folder) + " " + problemWord(report.problem) + " (" +
               quotedName(journalFolder + "/" + report.run.journalName) +
               "), and no entry it names can be read. Nothing was moved. " + forgetHint(folder);
    case UndoOutcome::Restored:
        return report.restored == 0
                   ? "Every entry of the run of " + runTime(report.run.startedNanoseconds) +
                         " in " + quotedName(folder) +
                         " had its original name already; nothing was moved." + stampNote(report)
                   : gaveBack(report, folder) + stampNote(report);
    case UndoOutcome::PartlyRestored:
        return gaveBack(report, folder) + " " + entryCount(report.leftAlone.size()) +
               (report.leftAlone.size() == 1 ? " was" : " were") +
               " left alone; 'brindleaf-cli --undo' tries them again:" + leftAloneLines(report) +
               stampNote(report);
    case UndoOutcome::NoneRestored:
        return "No entry of the run of " + runTime(report.run.startedNanoseconds) + " in " +
               quotedName(folder) +
               " could be given its original name back, so nothing was "
               "moved and the run can still be undone:" +
               leftAloneLines(report) + stampNote(report);
    case UndoOutcome::Failed:
        if (report.failure) {
            return "Cannot give " + quotedName(report.failure->entryDestination) +
                   " its original name back: " + report.failure->code.message() + "." +
                   howFar(report);
        }
        if (!report.notRecorded) {
            return "Cannot start the undo: the journal could not be updated (" +
                   report.error.message() + "). Nothing was moved.";
        }
        return "Cannot finish the undo." + howFar(report);
    case UndoOutcome::Cancelled:
        return "The undo was stopped." + howFar(report);
    }
    return {};
}

} // namespace

std::string describeUndo(const UndoReport& report, const std::string& folder,
                         const std::string& journalFolder) {
    return undoOutcomeWords(report, folder, journalFolder) + damagedNote(report, journalFolder);
}

std::string describeUnfinishedRun(RecordedRunState state, const std::string& folder) {
    if (state == RecordedRunState::InProgress) {
        return "Another run is renaming the entries of " + quotedName(folder) +
               " now. Nothing was changed.";
    }
    if (state == RecordedRunState::Damaged) {
        return "The journal of the last run in " + quotedName(folder) +
               " is damaged, so whether that run finished cannot be told. Nothing was changed. "
               "'brindleaf-cli --undo " +
               shownName(folder) + "' gives back the entries it can still tell; " +
               forgetHint(folder);
    }
    return "The last run in " + quotedName(folder) +
           " did not finish, so some entries may still bear temporary names. Run "
           "'brindleaf-cli --undo " +
           shownName(folder) + "' to give them their original names back. Nothing was changed.";
}

std::string describeUnreadableJournals(const std::string& journalFolder, std::error_code error) {
    return "Cannot use the journal folder " + quotedName(journalFolder) + ": " +
           journalFolderReason(error) +
           ". The runs recorded there cannot be told, so nothing was changed.";
}

std::string describeRun(const RecordedRun& run, bool undoable) {
    std::string state;
    switch (run.state) {
    case RecordedRunState::Finished:
        state = "finished";
        break;
    case RecordedRunState::Interrupted:
        state = "interrupted";
        break;
    case RecordedRunState::InProgress:
        state = "in progress";
        break;
    case RecordedRunState::Undone:
        state = "undone";
        break;
    case RecordedRunState::Damaged:
        state = "damaged journal";
        break;
    case RecordedRunState::JournalsUnreadable:
    case RecordedRunState::None:
        break;
    }
    const std::string entries = run.entryCount ? entryCount(*run.entryCount) : "entries unknown";
    return runTime(run.startedNanoseconds) + "  " + entries + "  " + state +
           (undoable ? "  (can be undone)" : "");
}

} // namespace brindleaf::cli
