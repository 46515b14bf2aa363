#include "cli/CliRun.hpp"

#include "cli/CommandLine.hpp"
#include "cli/ErrorWords.hpp"
#include "cli/ShownName.hpp"
#include "cli/UndoWords.hpp"
#include "engine/Cameras.hpp"
#include "engine/DateForms.hpp"
#include "engine/Execution.hpp"
#include "engine/Forget.hpp"
#include "engine/Listing.hpp"
#include "engine/Plan.hpp"
#include "engine/Undo.hpp"
#include "platform/InterruptSignals.hpp"

#include <set>

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

RecordedRun lastRunOf(FileSystem& fileSystem, const OpenedPlan& opened,
                      const std::string& folderPath, const Journals& journals) {
    const auto identity = fileSystem.identify(opened.folder);
    return identity ? journals.lastRunOf(folderPath, *identity) : RecordedRun{};
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

std::string_view sourceText(DateSource source) {
    switch (source) {
    case DateSource::Taken:
        return "taken";
    case DateSource::Modified:
        return "modified";
    case DateSource::Corrected:
        return "corrected";
    }
    return "";
}

std::string zoneWords(const CameraSummary& camera) {
    std::string words;
    if (camera.givenZone && camera.withoutOffsetTags < camera.entries) {
        words = "its offset tags; without them, given: " + offsetForm(*camera.givenZone);
    } else if (camera.givenZone) {
        words = "given: " + offsetForm(*camera.givenZone);
    } else if (camera.inComputerZone == 0) {
        words = "its offset tags";
    } else {
        std::string offsets;
        for (const std::int32_t east : camera.computerOffsets) {
            offsets += (offsets.empty() ? "" : " and ") + offsetForm(east);
        }
        words = "none: read as this computer's zone, " + offsets;
        if (camera.inComputerZone < camera.entries) {
            words += " (" + std::to_string(camera.inComputerZone) + " of " +
                     std::to_string(camera.entries) + " entries; the others by their offset tags)";
        }
    }
    if (camera.givenShift != 0) {
        words += "; clock shifted " + shiftForm(camera.givenShift);
    }
    return words;
}

// One line a camera: its name as the options take it, then tab-separated facts.
std::string cameraLine(const CameraSummary& camera) {
    return camera.name + "\t" + entryCount(camera.entries) + "\tfirst " +
           instantForm(camera.first) + "\tlast " + instantForm(camera.last) +
           "\tzone: " + zoneWords(camera);
}

std::vector<std::string> folderCameras(std::span<const EntryDate> dates) {
    const std::vector<std::string> names = cameraNames(dates);
    std::set<std::string> distinct(names.begin(), names.end());
    distinct.erase(std::string());
    return {distinct.begin(), distinct.end()};
}

// The usage error for camera clocks that name no camera of the folder or do not parse,
// with the folder's cameras; none when the clocks can be used.
std::optional<std::string> clockProblem(const Settings& settings,
                                        std::span<const EntryDate> dates) {
    const std::vector<std::string> cameras = folderCameras(dates);
    const auto clocks = readCameraClocks(settings, cameras);
    if (clocks) {
        return std::nullopt;
    }
    const ClockProblem& problem = clocks.error();
    std::string text;
    switch (problem.kind) {
    case ClockProblem::Kind::UnknownCamera:
        text = "no camera named " + quotedName(problem.camera) + " took a photo in " +
               quotedName(settings.targetDir);
        break;
    case ClockProblem::Kind::BadZone:
        text = "--camera-zone takes a zone such as +01:00, -05:30 or UTC, not " +
               quotedName(problem.value);
        break;
    case ClockProblem::Kind::BadShift:
        text =
            "--camera-shift takes [+|-]H:MM:SS, such as -0:03:12, not " + quotedName(problem.value);
        break;
    }
    if (cameras.empty()) {
        return text + ". No photo in it names its camera and date taken.";
    }
    text += ". Its cameras:";
    for (const std::string& camera : cameras) {
        text += "\n  " + camera;
    }
    return text;
}

// With --order taken, how many of the numbered entries had no date taken and how many were
// read in this computer's zone.
void sayDateCounts(const FolderPlan& plan, const Settings& settings, StreamReporter& reporter) {
    if (settings.order != Order::Taken) {
        return;
    }
    const DateCounts counts = countDates(plan.dates, plan.arrangement.numbered, settings);
    reporter.say(entryCount(counts.withoutDateTaken) + " had no date taken; " +
                 entryCount(counts.inComputerZone) +
                 " came from a camera without a time zone, read as this computer's.");
}

std::string noEntryChosenWords(const Settings& settings) {
    std::string text = "No entry of " + quotedName(settings.targetDir) + " is numbered: ";
    if (!settings.onlyExtensions.empty()) {
        return text + "none is a file with an extension --only names (" +
               shownName(settings.onlyExtensions) + ").";
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
    if (const RecordedRun last = lastRunOf(fileSystem, *opened, settings.targetDir, journals);
        refusesRenaming(last.state)) {
        // Temporary names left by that run are not the user's own names to number.
        reporter.say(last.state == RecordedRunState::JournalsUnreadable
                         ? describeUnreadableJournals(journals.folder().path(), last.error)
                         : describeUnfinishedRun(last.state, settings.targetDir));
        return exitFailure;
    }
    // Entries left out keep their names: only the numbered ones are listed.
    const FolderPlan& plan = opened->plan;
    if (const auto problem = clockProblem(settings, plan.dates)) {
        reporter.say(*problem);
        return exitUsage;
    }
    const bool showsDates = line.longFormat && !line.nullSeparated && !plan.dates.empty();
    // A group's members show the date, source and camera it is numbered by, as the window
    // does: a sidecar shows its photo's, not its own modified time.
    const DatesUsed used =
        showsDates ? shownDates(plan.dates, plan.arrangement, settings) : DatesUsed{};
    const std::size_t numbered = std::min(plan.names.size(), plan.arrangement.numbered);
    for (std::size_t i = 0; i < numbered; ++i) {
        if (!showsDates) {
            writePair(out, plan.names[i], plan.newNameAt(i), line.nullSeparated);
            continue;
        }
        write(out, shownName(plan.names[i]));
        write(out, rowSeparator);
        write(out, shownName(plan.newNameAt(i)));
        write(out, "\t" + instantForm(used.dates[i]) + "\t" +
                       std::string(sourceText(used.dates[i].source)) + "\t" +
                       shownName(used.cameras[i]) + "\n");
    }
    sayDateCounts(plan, settings, reporter);
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
    if (const auto problem = clockProblem(settings, opened->plan.dates)) {
        reporter.say(*problem);
        return exitUsage;
    }
    if (!line.quiet) {
        sayDateCounts(opened->plan, settings, reporter);
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
        reporter.say(describeUnfinishedRun(RecordedRunState::Interrupted, settings.targetDir));
        return exitFailure;
    case RunOutcome::LastRunDamaged:
        reporter.say(describeUnfinishedRun(RecordedRunState::Damaged, settings.targetDir));
        return exitFailure;
    case RunOutcome::AnotherRunGoing:
        reporter.say(describeUnfinishedRun(RecordedRunState::InProgress, settings.targetDir));
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
    const auto history = journals.historyOf(folderPath, *identity);
    if (!history) {
        reporter.say(describeUnreadableJournals(journals.folder().path(), history.error()));
        return exitFailure;
    }
    const std::vector<PastRun>& runs = *history;
    if (runs.empty()) {
        reporter.say("No run of " + quotedName(folderPath) + " is recorded.");
        return exitSuccess;
    }
    for (const PastRun& past : runs) {
        write(out, describeRun(past.run, past.undoable) + "\n");
    }
    return std::fflush(out) == 0 ? exitSuccess : exitFailure;
}

// The folder's cameras, one line each; renames nothing.
int cameras(const CommandLine& line, FileSystem& fileSystem, std::FILE* out,
            StreamReporter& reporter) {
    const std::string& folderPath = line.settings.targetDir;
    const auto folder = openTargetFolder(fileSystem, folderPath);
    if (!folder) {
        reporter.report(folder.error());
        return exitFailure;
    }
    auto entries = listOpenedFolder(fileSystem, *folder, line.settings);
    if (!entries) {
        reporter.report(entries.error());
        return exitFailure;
    }
    ProceedAlways proceed;
    const auto dates = readDates(fileSystem, *folder, entries->names, entries->folders,
                                 Order::Taken, nullptr, proceed);
    if (!dates) {
        return exitFailure;
    }
    if (const auto problem = clockProblem(line.settings, *dates)) {
        reporter.say(*problem);
        return exitUsage;
    }
    const std::vector<CameraSummary> summaries = summarizeCameras(*dates, line.settings);
    if (summaries.empty()) {
        reporter.say("No photo or video in " + quotedName(folderPath) +
                     " has a date taken, so none has a camera.");
        return exitSuccess;
    }
    for (const CameraSummary& camera : summaries) {
        write(out, cameraLine(camera) + "\n");
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
    // Entries a damaged journal lost are not back either.
    const bool succeeded = report.outcome == UndoOutcome::Restored && report.unreadEntries == 0;
    if (!succeeded || !line.quiet) {
        reporter.say(describeUndo(report, line.settings.targetDir, journals.folder().path()));
    }
    if (report.outcome == UndoOutcome::Cancelled && observer.signalReceived() != 0) {
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
    case Request::Cameras:
        return cameras(*line, fileSystem, out, reporter);
    }
    return exitFailure;
}

} // namespace brindleaf::cli
