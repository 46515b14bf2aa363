#include "cli/CliRun.hpp"

#include "cli/CommandLine.hpp"
#include "cli/ErrorWords.hpp"
#include "cli/ShownName.hpp"
#include "cli/UndoWords.hpp"
#include "engine/Execution.hpp"
#include "engine/Forget.hpp"
#include "engine/Plan.hpp"
#include "engine/Undo.hpp"
#include "platform/InterruptSignals.hpp"

namespace brindleaf::cli {

namespace {

constexpr int exitSuccess = 0;
constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

// Puts what happened into English on standard error, one line a message.
class StreamReporter {
public:
    explicit StreamReporter(std::FILE* stream) : stream_(stream) {}
    void report(const Error& error) { say(describeError(error)); }
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

// Between an entry's current and new name in the preview, one line an entry.
constexpr std::string_view rowSeparator = "\t\t->\t\t";

void write(std::FILE* out, std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), out);
}

LastRunState lastRunState(FileSystem& fileSystem, const OpenedPlan& opened,
                          const std::string& folderPath, const Journals& journals) {
    const auto identity = fileSystem.identify(opened.folder);
    return identity ? journals.lastRunOf(folderPath, *identity).state : LastRunState::None;
}

void writePair(std::FILE* out, const std::string& original, const std::string& renamed,
               bool nullSeparated) {
    if (nullSeparated) {
        write(out, original);
        write(out, std::string_view("\0", 1));
        write(out, renamed);
        write(out, std::string_view("\0", 1));
        return;
    }
    write(out, shownName(original));
    write(out, rowSeparator);
    write(out, shownName(renamed));
    write(out, "\n");
}

std::string renamedWords(const RunReport& report, const std::string& folder) {
    std::string text = "Renamed " + entryCount(report.moved) + " in " + quotedName(folder) + ".";
    if (report.alreadyNamed > 0) {
        text += " " + entryCount(report.alreadyNamed) +
                (report.alreadyNamed == 1 ? " had its new name" : " had their new names") +
                " already.";
    }
    if (report.leftOut > 0) {
        text += " " + entryCount(report.leftOut) + " left out.";
    }
    return text;
}

std::string noEntryChosenWords(const Settings& settings) {
    std::string text = "No entry of " + quotedName(settings.targetDir) + " is numbered: ";
    if (!settings.onlyExtensions.empty()) {
        return text + "none is a file with an extension --only names (" + settings.onlyExtensions +
               ").";
    }
    return text + "the choices leave every entry out.";
}

int preview(const CommandLine& line, FileSystem& fileSystem, const Journals& journals,
            std::FILE* out, StreamReporter& reporter) {
    const Settings& settings = line.settings;
    const auto opened = planFolder(fileSystem, settings);
    if (!opened) {
        reporter.report(opened.error());
        return exitFailure;
    }
    if (const LastRunState last = lastRunState(fileSystem, *opened, settings.targetDir, journals);
        refusesRenaming(last)) {
        // Temporary names left by that run are not the user's own names to number.
        reporter.say(describeUnfinishedRun(last, settings.targetDir));
        return exitFailure;
    }
    // Entries left out keep their names: only the numbered ones are listed.
    const FolderPlan& plan = opened->plan;
    const std::size_t numbered = std::min(plan.names.size(), plan.arrangement.numbered);
    for (std::size_t i = 0; i < numbered; ++i) {
        writePair(out, plan.names[i], plan.newNameAt(i), line.nullSeparated);
    }
    if (numbered == 0 && !plan.names.empty()) {
        // An empty preview alone reads as "nothing to do" to a script and to a person alike.
        reporter.say(noEntryChosenWords(settings));
    }
    return std::fflush(out) == 0 ? exitSuccess : exitFailure;
}

int apply(const CommandLine& line, FileSystem& fileSystem, Journals& journals,
          StreamReporter& reporter) {
    const Settings& settings = line.settings;
    const auto opened = planFolder(fileSystem, settings);
    if (!opened) {
        reporter.report(opened.error());
        return exitFailure;
    }
    StopOnSignal observer;
    const RunReport report =
        renameJournalled(fileSystem, *opened, settings.targetDir, journals, observer);
    for (const Error& failure : report.failures) {
        reporter.report(failure);
    }
    switch (report.outcome) {
    case RunOutcome::NothingToRename:
        if (!line.quiet) {
            reporter.say(
                "Nothing to rename in " + quotedName(settings.targetDir) +
                (report.leftOut > 0 ? ": the choices leave every entry out." : ": it is empty."));
        }
        return exitSuccess;
    case RunOutcome::AlreadyNamed:
        if (!line.quiet) {
            reporter.say("Nothing to rename: every entry of " + quotedName(settings.targetDir) +
                         " already has its new name.");
        }
        return exitSuccess;
    case RunOutcome::Renamed:
        if (!line.quiet) {
            reporter.say(renamedWords(report, settings.targetDir));
        }
        return exitSuccess;
    case RunOutcome::Cancelled:
        reporter.say("Stopped by a signal. Every entry is back under its original name.");
        return exitStatusAfter(observer.signalReceived());
    case RunOutcome::LastRunInterrupted:
        reporter.say(describeUnfinishedRun(LastRunState::Interrupted, settings.targetDir));
        return exitFailure;
    case RunOutcome::LastRunDamaged:
        reporter.say(describeUnfinishedRun(LastRunState::Damaged, settings.targetDir));
        return exitFailure;
    case RunOutcome::AnotherRunGoing:
        reporter.say(describeUnfinishedRun(LastRunState::InProgress, settings.targetDir));
        return exitFailure;
    case RunOutcome::Failed:
        return exitFailure;
    }
    return exitFailure;
}

// Every recorded run of the folder, newest first, marking those undo can still reach.
int history(const CommandLine& line, FileSystem& fileSystem, const Journals& journals,
            std::FILE* out, StreamReporter& reporter) {
    const std::string& folderPath = line.settings.targetDir;
    const auto folder = fileSystem.openFolder(folderPath);
    const auto identity = folder ? fileSystem.identify(*folder) : std::unexpected(folder.error());
    if (!identity) {
        reporter.say("Cannot read folder " + quotedName(folderPath) + ": " +
                     identity.error().message());
        return exitFailure;
    }
    const std::vector<PastRun> runs = journals.historyOf(folderPath, *identity);
    if (runs.empty()) {
        reporter.say("No run of " + quotedName(folderPath) + " is recorded.");
        return exitSuccess;
    }
    for (const PastRun& past : runs) {
        write(out, describeRun(past.run, past.undoable) + "\n");
    }
    return std::fflush(out) == 0 ? exitSuccess : exitFailure;
}

int forget(const CommandLine& line, FileSystem& fileSystem, const Journals& journals,
           StreamReporter& reporter) {
    const ForgetReport report =
        forgetDamagedRun(fileSystem, line.settings.targetDir, journals, true);
    reporter.say(describeForget(report, line.settings.targetDir, journals.folder().path()));
    return report.outcome == ForgetOutcome::SetAside ? exitSuccess : exitFailure;
}

int undo(const CommandLine& line, FileSystem& fileSystem, Journals& journals,
         StreamReporter& reporter) {
    StopOnSignal observer;
    const UndoReport report = undoLastRun(fileSystem, line.settings.targetDir, journals, observer);
    const bool succeeded = report.outcome == UndoOutcome::Restored;
    if (!succeeded || !line.quiet) {
        reporter.say(describeUndo(report, line.settings.targetDir, journals.folder().path()));
    }
    if (report.outcome == UndoOutcome::Cancelled && report.stranded.empty() &&
        observer.signalReceived() != 0) {
        return exitStatusAfter(observer.signalReceived());
    }
    return succeeded ? exitSuccess : exitFailure;
}

} // namespace

int runCommandLine(std::span<const std::string_view> args, FileSystem& fileSystem,
                   Journals& journals, std::FILE* out, std::FILE* err) {
    const auto line = parseCommandLine(args);
    if (!line) {
        std::fprintf(err, "brindleaf-cli: %s\nTry 'brindleaf-cli --help' for more information.\n",
                     line.error().c_str());
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
        return preview(*line, fileSystem, journals, out, reporter);
    case Request::Apply:
        return apply(*line, fileSystem, journals, reporter);
    case Request::Undo:
        return undo(*line, fileSystem, journals, reporter);
    case Request::History:
        return history(*line, fileSystem, journals, out, reporter);
    case Request::Forget:
        return forget(*line, fileSystem, journals, reporter);
    }
    return exitFailure;
}

} // namespace brindleaf::cli
