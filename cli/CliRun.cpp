#include "cli/CliRun.hpp"

#include "cli/CommandLine.hpp"
#include "cli/UndoWords.hpp"
#include "engine/Execution.hpp"
#include "engine/Plan.hpp"
#include "engine/Undo.hpp"
#include "platform/InterruptSignals.hpp"

namespace brindleaf::cli {

namespace {

constexpr int exitSuccess = 0;
constexpr int exitFailure = 1;
constexpr int exitUsage = 2;
constexpr int exitBySignal = 128;

class StreamReporter final : public FailureReporter {
public:
    explicit StreamReporter(std::FILE* stream) : stream_(stream) {}
    void report(const Error& error) override { say(error.description); }
    void say(const std::string& text) {
        std::fprintf(stream_, "brindleaf-cli: %s\n", text.c_str());
    }

private:
    std::FILE* stream_;
};

// Stops a run at the next move once SIGINT, SIGTERM or SIGHUP has arrived.
class StopOnSignal final : public RunObserver {
public:
    bool proceed(std::size_t, std::size_t) override { return guard_.signalReceived() == 0; }
    [[nodiscard]] int signalReceived() const { return guard_.signalReceived(); }

private:
    InterruptGuard guard_;
};

void write(std::FILE* out, std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), out);
}

LastRunState lastRunState(FileSystem& fileSystem, const OpenedPlan& opened,
                          const std::string& folderPath, const Journals& journals) {
    const auto identity = fileSystem.identify(opened.folder);
    return identity ? journals.lastRunOf(folderPath, *identity).state : LastRunState::None;
}

int preview(const Settings& settings, FileSystem& fileSystem, const Journals& journals,
            std::FILE* out, StreamReporter& reporter) {
    const auto opened = planFolder(fileSystem, settings);
    if (!opened) {
        reporter.report(opened.error());
        return exitFailure;
    }
    const LastRunState last = lastRunState(fileSystem, *opened, settings.targetDir, journals);
    if (last == LastRunState::Interrupted || last == LastRunState::InProgress) {
        // Temporary names left by that run are not the user's own names to number.
        reporter.say(describeUnfinishedRun(last, settings.targetDir));
        return exitFailure;
    }
    const FolderPlan& plan = opened->plan;
    for (std::size_t i = 0; i < plan.names.size(); ++i) {
        write(out, plan.names[i]);
        write(out, "\t\t->\t\t");
        write(out, plan.format.renamedAt(i).value_or(std::string{}));
        write(out, "\n");
    }
    return std::fflush(out) == 0 ? exitSuccess : exitFailure;
}

int apply(const Settings& settings, FileSystem& fileSystem, Journals& journals,
          StreamReporter& reporter) {
    StopOnSignal observer;
    switch (renameFiles(settings, fileSystem, journals, reporter, observer)) {
    case RunOutcome::NothingToRename:
    case RunOutcome::Renamed:
        return exitSuccess;
    case RunOutcome::Cancelled:
        reporter.say("Stopped by a signal. Every entry is back under its original name.");
        return exitBySignal + observer.signalReceived();
    case RunOutcome::LastRunInterrupted:
        reporter.say(describeUnfinishedRun(LastRunState::Interrupted, settings.targetDir));
        return exitFailure;
    case RunOutcome::AnotherRunGoing:
        reporter.say(describeUnfinishedRun(LastRunState::InProgress, settings.targetDir));
        return exitFailure;
    case RunOutcome::Failed:
        return exitFailure;
    }
    return exitFailure;
}

int undo(const Settings& settings, FileSystem& fileSystem, Journals& journals,
         StreamReporter& reporter) {
    StopOnSignal observer;
    const UndoReport report = undoLastRun(fileSystem, settings.targetDir, journals, observer);
    reporter.say(describeUndo(report, settings.targetDir, journals.folder().path()));
    if (report.outcome == UndoOutcome::Cancelled && report.stranded.empty() &&
        observer.signalReceived() != 0) {
        return exitBySignal + observer.signalReceived();
    }
    return report.outcome == UndoOutcome::Restored ? exitSuccess : exitFailure;
}

} // namespace

int runCommandLine(std::span<const std::string_view> args, FileSystem& fileSystem,
                   Journals& journals, std::FILE* out, std::FILE* err) {
    const auto line = parseCommandLine(args);
    if (!line) {
        std::fprintf(err, "brindleaf-cli: %s\n\n", line.error().c_str());
        write(err, usageText());
        return exitUsage;
    }
    StreamReporter reporter(err);
    switch (line->request) {
    case Request::Help:
        write(out, usageText());
        return exitSuccess;
    case Request::Version:
        std::fprintf(out, "brindleaf-cli %s\n", BRINDLEAF_VERSION);
        return exitSuccess;
    case Request::Preview:
        return preview(line->settings, fileSystem, journals, out, reporter);
    case Request::Apply:
        return apply(line->settings, fileSystem, journals, reporter);
    case Request::Undo:
        return undo(line->settings, fileSystem, journals, reporter);
    }
    return exitFailure;
}

} // namespace brindleaf::cli
