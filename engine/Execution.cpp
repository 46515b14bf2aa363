#include "engine/Execution.hpp"

#include "engine/BatchMoves.hpp"
#include "engine/NameFormat.hpp"
#include "engine/Plan.hpp"

#include <optional>
#include <span>
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

// The entries of a plan whose names change, with the order to move them in. An entry
// that bears its new name already is neither journalled nor moved. When every name
// changes, as in most runs, the plan's own names are used rather than copied: a million
// of them take some 60 MB.
class ChangedEntries {
public:
    explicit ChangedEntries(const FolderPlan& plan)
        : sources(plan.names), inodes(plan.inodes), order(plan.moveOrder) {
        destinations.reserve(plan.names.size());
        std::vector<std::uint32_t> positionOf(plan.names.size());
        std::uint32_t kept = 0;
        for (std::size_t i = 0; i < plan.names.size(); ++i) {
            std::string renamed = plan.newNameAt(i);
            positionOf[i] = renamed == plan.names[i] ? unchanged : kept++;
            if (positionOf[i] != unchanged) {
                destinations.push_back(std::move(renamed));
            }
        }
        if (kept < plan.names.size()) {
            keepOnlyChanged(plan, positionOf);
        }
    }
    ChangedEntries(const ChangedEntries&) = delete;
    ChangedEntries& operator=(const ChangedEntries&) = delete;

    std::span<const std::string> sources;
    std::vector<std::string> destinations;
    std::span<const std::uint64_t> inodes;
    std::span<const std::uint32_t> order;

private:
    static constexpr std::uint32_t unchanged = ~std::uint32_t{0};

    void keepOnlyChanged(const FolderPlan& plan, const std::vector<std::uint32_t>& positionOf) {
        for (std::size_t i = 0; i < plan.names.size(); ++i) {
            if (positionOf[i] != unchanged) {
                ownSources_.push_back(plan.names[i]);
                ownInodes_.push_back(i < plan.inodes.size() ? plan.inodes[i] : 0);
            }
        }
        for (const std::uint32_t position : plan.moveOrder) {
            if (positionOf[position] != unchanged) {
                ownOrder_.push_back(positionOf[position]);
            }
        }
        sources = ownSources_;
        inodes = ownInodes_;
        order = ownOrder_;
    }

    std::vector<std::string> ownSources_;
    std::vector<std::uint64_t> ownInodes_;
    std::vector<std::uint32_t> ownOrder_;
};

RunReport outcomeOnly(RunOutcome outcome) {
    RunReport report;
    report.outcome = outcome;
    return report;
}

// Reports a failed or half-undone batch of moves, and says how the run ended.
RunOutcome reportMoves(const MovesResult& result, std::vector<Error>& failures) {
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
    failures.push_back(std::move(error));
    return RunOutcome::Failed;
}

Error journalFolderError(std::error_code code, const Journals& journals) {
    return errorOf(ErrorKind::CannotWriteJournal, code, journals.folder().path());
}

// Why the folder's last run keeps a new one from starting; none when it does not.
std::optional<RunReport> refusalOf(const RecordedRun& last, const Journals& journals) {
    switch (last.state) {
    case RecordedRunState::JournalsUnreadable: {
        RunReport refused = outcomeOnly(RunOutcome::Failed);
        refused.failures.push_back(journalFolderError(last.error, journals));
        return refused;
    }
    case RecordedRunState::Interrupted:
        return outcomeOnly(RunOutcome::LastRunInterrupted);
    case RecordedRunState::Damaged:
        return outcomeOnly(RunOutcome::LastRunDamaged);
    case RecordedRunState::InProgress:
        return outcomeOnly(RunOutcome::AnotherRunGoing);
    default:
        return std::nullopt;
    }
}

// A folder lock held elsewhere is another run or undo getting ready.
RunReport lockRefusal(std::error_code failed, const Journals& journals) {
    if (failed == std::errc::operation_would_block) {
        return outcomeOnly(RunOutcome::AnotherRunGoing);
    }
    RunReport refused = outcomeOnly(RunOutcome::Failed);
    refused.failures.push_back(journalFolderError(failed, journals));
    return refused;
}

} // namespace

RunReport renameInFolder(FileSystem& fileSystem, const UniqueFd& folder, const FolderPlan& plan,
                         RunObserver& observer) {
    RunReport report;
    if (plan.names.empty()) {
        return report;
    }
    const std::vector<std::string> finals = newNames(plan);
    report.outcome = reportMoves(moveBatch(fileSystem, folder, plan.names, finals,
                                           NameFormat::temporarySuffix, observer, plan.moveOrder),
                                 report.failures);
    return report;
}

RunReport renameJournalled(FileSystem& fileSystem, const OpenedPlan& opened,
                           const std::string& folderPath, Journals& journals,
                           RunObserver& observer) {
    const FolderPlan& plan = opened.plan;
    if (plan.names.empty()) {
        return outcomeOnly(RunOutcome::NothingToRename);
    }
    const ChangedEntries changed(plan);
    const std::size_t leftOut = plan.arrangement.leftOut(plan.names.size());
    const bool journalled = leftOut < plan.names.size() && !changed.sources.empty();
    // Held from the check until this run's journal is in place and locked, so that another
    // run or an undo started at the same time cannot also find the folder free.
    std::optional<FolderLock> checking;
    if (const auto identity = fileSystem.identify(opened.folder)) {
        if (journalled) {
            auto lock = journals.lockFolder(folderPath, *identity);
            if (!lock) {
                return lockRefusal(lock.error(), journals);
            }
            checking = std::move(*lock);
        }
        if (auto refused = refusalOf(journals.lastRunOf(folderPath, *identity), journals)) {
            return std::move(*refused);
        }
    }
    RunReport report = outcomeOnly(RunOutcome::Renamed);
    report.leftOut = leftOut;
    report.moved = changed.sources.size();
    report.alreadyNamed = plan.names.size() - report.leftOut - changed.sources.size();
    if (report.leftOut == plan.names.size()) {
        report.outcome = RunOutcome::NothingToRename;
        return report;
    }
    if (changed.sources.empty()) {
        report.outcome = RunOutcome::AlreadyNamed;
        return report;
    }
    auto journal = journals.record(fileSystem, opened.folder, folderPath, changed.sources,
                                   changed.destinations, changed.inodes);
    checking.reset();
    if (!journal) {
        report.failures.push_back(journalFolderError(journal.error(), journals));
        report.outcome = RunOutcome::Failed;
        return report;
    }
    const MovesResult result = [&] {
        // A placeholder a killed run leaves behind is then known to undo, not taken for an
        // entry of the user's.
        const JournalledPlaceholders placeholders(fileSystem, *journal);
        return moveBatch(fileSystem, opened.folder, changed.sources, changed.destinations,
                         NameFormat::temporarySuffix, observer, changed.order);
    }();
    // Whatever happened, what the folder now holds must reach the disk before it is reported.
    const std::error_code flushed = fileSystem.flush(opened.folder);
    report.outcome = reportMoves(result, report.failures);
    if (flushed) {
        // The journal stays unfinished, so the run can still be undone after a power cut.
        Error error = errorOf(ErrorKind::CannotFlush, flushed, folderPath);
        error.renamed = report.outcome == RunOutcome::Renamed ? changed.sources.size() : 0;
        report.failures.push_back(std::move(error));
        report.outcome = RunOutcome::Failed;
        return report;
    }
    if (report.outcome == RunOutcome::Renamed) {
        if (const auto code = markJournal(*journal, RunState::Finished)) {
            Error error = errorOf(ErrorKind::CannotMarkJournal, code, folderPath);
            error.renamed = changed.sources.size();
            report.failures.push_back(std::move(error));
        }
    } else if (result.stranded.empty()) {
        journals.forget(*journal);
    }
    return report;
}

RunReport renameFiles(const Settings& settings, FileSystem& fileSystem, Journals& journals,
                      RunObserver& observer) {
    if (settings.targetDir.empty()) {
        return outcomeOnly(RunOutcome::NothingToRename);
    }
    const auto opened = planFolder(fileSystem, settings);
    if (!opened) {
        RunReport report = outcomeOnly(RunOutcome::Failed);
        report.failures.push_back(opened.error());
        return report;
    }
    return renameJournalled(fileSystem, *opened, settings.targetDir, journals, observer);
}

RunReport renameFiles(const Settings& settings, FileSystem& fileSystem, Journals& journals) {
    ProceedAlways proceedAlways;
    return renameFiles(settings, fileSystem, journals, proceedAlways);
}

} // namespace brindleaf
