#include "engine/Execution.hpp"

#include "engine/BatchMoves.hpp"
#include "engine/NameFormat.hpp"
#include "engine/Plan.hpp"

#include <string>
#include <vector>

namespace brindleaf {

namespace {

Error errorOf(ErrorKind kind, std::error_code code, std::string path = {}) {
    Error error;
    error.kind = kind;
    error.code = code;
    error.path = std::move(path);
    return error;
}

std::vector<std::string> newNames(const FolderPlan& plan) {
    std::vector<std::string> names;
    names.reserve(plan.names.size());
    for (std::size_t i = 0; i < plan.names.size(); ++i) {
        names.push_back(plan.newNameAt(i));
    }
    return names;
}

// Reports a failed or half-undone batch of moves, and says how the run ended.
RunOutcome reportMoves(const MovesResult& result, FailureReporter& reporter) {
    if (result.kind == MovesResult::Kind::Done) {
        return RunOutcome::Renamed;
    }
    const bool cancelled = result.kind == MovesResult::Kind::Cancelled;
    if (cancelled && result.stranded.empty() && result.placeholdersLeft.empty()) {
        return RunOutcome::Cancelled;
    }
    Error error = errorOf(cancelled ? ErrorKind::StoppedUnfinished : ErrorKind::CannotRename,
                          cancelled ? std::make_error_code(std::errc::operation_canceled)
                                    : result.failure->code);
    if (!cancelled) {
        error.name = result.failure->entrySource;
        error.newName = result.failure->entryDestination;
        error.step = result.failure->step;
    }
    error.notRestored = originalsOf(result.stranded);
    error.placeholdersLeft = result.placeholdersLeft;
    reporter.report(error);
    return RunOutcome::Failed;
}

} // namespace

RunOutcome renameInFolder(FileSystem& fileSystem, const UniqueFd& folder, const FolderPlan& plan,
                          FailureReporter& reporter, RunObserver& observer) {
    if (plan.names.empty()) {
        return RunOutcome::NothingToRename;
    }
    const std::vector<std::string> finals = newNames(plan);
    return reportMoves(moveBatch(fileSystem, folder, plan.names, finals,
                                 NameFormat::temporarySuffix, observer, plan.moveOrder),
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
    const std::vector<std::string> finals = newNames(plan);
    auto journal =
        journals.record(fileSystem, opened.folder, folderPath, plan.names, finals, plan.inodes);
    if (!journal) {
        reporter.report(
            errorOf(ErrorKind::CannotWriteJournal, journal.error(), journals.folder().path()));
        return RunOutcome::Failed;
    }
    const MovesResult result = moveBatch(fileSystem, opened.folder, plan.names, finals,
                                         NameFormat::temporarySuffix, observer, plan.moveOrder);
    // Whatever happened, what the folder now holds must reach the disk before it is reported.
    const std::error_code flushed = fileSystem.flush(opened.folder);
    const RunOutcome outcome = reportMoves(result, reporter);
    if (flushed) {
        // The journal stays unfinished, so the run can still be undone after a power cut.
        reporter.report(errorOf(ErrorKind::CannotFlush, flushed, folderPath));
        return RunOutcome::Failed;
    }
    if (outcome == RunOutcome::Renamed) {
        if (const auto code = markJournal(*journal, RunState::Finished)) {
            reporter.report(errorOf(ErrorKind::CannotMarkJournal, code, folderPath));
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
