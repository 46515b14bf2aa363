#include "engine/Execution.hpp"

#include "engine/NameFormat.hpp"
#include "engine/Plan.hpp"
#include "engine/TwoPassMoves.hpp"

#include <string>
#include <vector>

namespace brindleaf {

namespace {

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

std::string describeStranded(const std::vector<Stranded>& stranded) {
    if (stranded.empty()) {
        return " Every entry is back under its original name.";
    }
    std::string text = stranded.size() == 1
                           ? std::string(" 1 entry could not be given its original name back:")
                           : " " + std::to_string(stranded.size()) +
                                 " entries could not be given their original names back:";
    for (const Stranded& entry : stranded) {
        text += "\n" + quoted(entry.original) + " is now " + quoted(entry.current);
    }
    return text;
}

// What the file system refused, in plain words: where it refuses the no-replace rename, the
// steps taken instead are named.
std::string describeFailedMove(const FailedMove& failure) {
    const std::string start =
        "Cannot rename " + quoted(failure.from) + " to " + quoted(failure.to) + ": ";
    const std::string reason = failure.code.message();
    switch (failure.step) {
    case MoveStep::Rename:
        return start + reason + ".";
    case MoveStep::ClaimNewName:
        if (failure.code == std::errc::file_exists) {
            return start + reason + ".";
        }
        return start +
               "this file system cannot rename without replacing, and it refused to "
               "hold the new name with an empty placeholder (" +
               reason + ").";
    case MoveStep::RenameOntoClaim:
        return start +
               "this file system cannot rename without replacing, and it refused to "
               "move the entry onto the empty placeholder that held its new name (" +
               reason + ").";
    }
    return start + reason + ".";
}

std::string describeLeftBehind(const std::vector<std::string>& placeholders) {
    std::string text;
    for (const std::string& placeholder : placeholders) {
        text += "\nAn empty placeholder could not be removed and was left behind: " +
                quoted(placeholder) + ".";
    }
    return text;
}

std::vector<std::string> newNames(const NameFormat& format, std::size_t count) {
    std::vector<std::string> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        names.push_back(format.renamedAt(i).value_or(std::string{}));
    }
    return names;
}

// Reports a failed or half-undone batch of moves, and says how the run ended.
RunOutcome reportMoves(const MovesResult& result, FailureReporter& reporter) {
    switch (result.kind) {
    case MovesResult::Kind::Done:
        return RunOutcome::Renamed;
    case MovesResult::Kind::Failed:
        reporter.report({result.failure->code, describeFailedMove(*result.failure) +
                                                   describeStranded(result.stranded) +
                                                   describeLeftBehind(result.placeholdersLeft)});
        return RunOutcome::Failed;
    case MovesResult::Kind::Cancelled:
        if (result.stranded.empty() && result.placeholdersLeft.empty()) {
            return RunOutcome::Cancelled;
        }
        reporter.report({std::make_error_code(std::errc::operation_canceled),
                         "The renaming was cancelled." + describeStranded(result.stranded) +
                             describeLeftBehind(result.placeholdersLeft)});
        return RunOutcome::Failed;
    }
    return RunOutcome::Failed;
}

} // namespace

RunOutcome renameInFolder(FileSystem& fileSystem, const UniqueFd& folder, const FolderPlan& plan,
                          FailureReporter& reporter, RunObserver& observer) {
    if (plan.names.empty()) {
        return RunOutcome::NothingToRename;
    }
    const std::vector<std::string> finals = newNames(plan.format, plan.names.size());
    return reportMoves(moveInTwoPasses(fileSystem, folder, plan.names, finals,
                                       NameFormat::temporarySuffix, observer),
                       reporter);
}

RunOutcome renameJournalled(FileSystem& fileSystem, const OpenedPlan& opened,
                            const std::string& folderPath, Journals& journals,
                            FailureReporter& reporter, RunObserver& observer) {
    const FolderPlan& plan = opened.plan;
    if (plan.names.empty()) {
        return RunOutcome::NothingToRename;
    }
    if (const auto identity = fileSystem.identify(opened.folder)) {
        switch (journals.lastRunOf(folderPath, *identity).state) {
        case LastRunState::Interrupted:
            return RunOutcome::LastRunInterrupted;
        case LastRunState::InProgress:
            return RunOutcome::AnotherRunGoing;
        default:
            break;
        }
    }
    const std::vector<std::string> finals = newNames(plan.format, plan.names.size());
    auto journal =
        journals.record(fileSystem, opened.folder, folderPath, plan.names, finals, plan.inodes);
    if (!journal) {
        reporter.report({journal.error(),
                         "Cannot write the run's journal in " + quoted(journals.folder().path()) +
                             ": " + journal.error().message() + ". Nothing was renamed."});
        return RunOutcome::Failed;
    }
    const MovesResult result = moveInTwoPasses(fileSystem, opened.folder, plan.names, finals,
                                               NameFormat::temporarySuffix, observer);
    // Whatever happened, what the folder now holds must reach the disk before it is reported.
    const std::error_code flushed = fileSystem.flush(opened.folder);
    const RunOutcome outcome = reportMoves(result, reporter);
    if (flushed) {
        // The journal stays unfinished, so the run can still be undone after a power cut.
        reporter.report({flushed, "Cannot flush the folder " + quoted(folderPath) +
                                      " to disk: " + flushed.message() + "."});
        return RunOutcome::Failed;
    }
    if (outcome == RunOutcome::Renamed) {
        if (const auto code = markJournal(*journal, RunState::Finished)) {
            reporter.report({code, "The entries were renamed, but the journal could not be "
                                   "marked finished: " +
                                       code.message() + "."});
        }
    } else if (result.stranded.empty()) {
        journals.forget(*journal);
    }
    return outcome;
}

RunOutcome renameFiles(const Settings& settings, FileSystem& fileSystem, Journals& journals,
                       FailureReporter& reporter, RunObserver& observer) {
    if (settings.targetDir.empty()) {
        return RunOutcome::NothingToRename;
    }
    const auto opened = planFolder(fileSystem, settings);
    if (!opened) {
        reporter.report(opened.error());
        return RunOutcome::Failed;
    }
    return renameJournalled(fileSystem, *opened, settings.targetDir, journals, reporter, observer);
}

RunOutcome renameFiles(const Settings& settings, FileSystem& fileSystem, Journals& journals,
                       FailureReporter& reporter) {
    ProceedAlways proceedAlways;
    return renameFiles(settings, fileSystem, journals, reporter, proceedAlways);
}

} // namespace brindleaf
