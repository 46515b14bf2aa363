#include "session/FolderSession.hpp"

#include "session/NameText.hpp"
#include "session/PreviewModel.hpp"

#include "engine/Execution.hpp"
#include "engine/Plan.hpp"
#include "engine/RunObserver.hpp"
#include "engine/Undo.hpp"
#include "platform/InterruptSignals.hpp"

#include <QElapsedTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <atomic>
#include <optional>
#include <utility>

namespace brindleaf {

namespace {

// Other programs often change a folder in bursts; one relisting covers a burst.
constexpr int folderChangeSettleMilliseconds = 50;

// Up to this many rows stay on screen while the folder is listed or ordered again: a copy
// of them costs a few milliseconds. A larger listing is let go rather than held twice.
constexpr int rowsKeptWhileLoading = 100'000;

// Progress is published this often at most: twenty times a second reads as smooth, and
// leaves the window's thread free for everything else.
constexpr qint64 progressEveryMilliseconds = 50;

} // namespace

// A run under way. While it lives, SIGINT, SIGTERM and SIGHUP only stop the run, at its
// next move, and every name goes back before the program may end.
struct FolderSession::Run {
    InterruptGuard interrupts;
    std::atomic<bool> stopRequested = false;
    AfterRun after = AfterRun::ShowFolder;
    QFuture<RunResult> future;
};

namespace {

// Tells the session how far the run is, on the session's thread, and stops the run once
// asked to or signalled.
class RunWatch final : public RunObserver {
public:
    using Publish = std::function<void(std::size_t, std::size_t)>;
    RunWatch(Publish publish, const std::atomic<bool>& stopRequested,
             const InterruptGuard& interrupts)
        : publish_(std::move(publish)), stopRequested_(stopRequested), interrupts_(interrupts) {}

    bool proceed(std::size_t done, std::size_t total) override {
        // The first entry moved is shown at once, then the count every so often.
        if (!sincePublished_.isValid() || (done > 0 && publishedDone_ == 0) ||
            sincePublished_.elapsed() >= progressEveryMilliseconds || done == total) {
            sincePublished_.restart();
            publishedDone_ = done;
            publish_(done, total);
        }
        return !stopRequested_.load() && interrupts_.signalReceived() == 0;
    }

private:
    Publish publish_;
    const std::atomic<bool>& stopRequested_;
    const InterruptGuard& interrupts_;
    QElapsedTimer sincePublished_;
    std::size_t publishedDone_ = 0;
};

} // namespace

FolderSession::FolderSession(std::unique_ptr<FileSystem> fileSystem, JournalFolder journalFolder,
                             QObject* parent)
    : QObject(parent), fileSystem_(std::move(fileSystem)), journals_(std::move(journalFolder)),
      format_(Settings{}),
      loader_(*fileSystem_, journals_, dates_,
              [this](PreviewLoader::Result result) { loaded(std::move(result)); }),
      preview_(new PreviewModel(listing_, format_, this)) {
    state_.journalFolder = journals_.folder().path();
    folderChangedTimer_.setSingleShot(true);
    folderChangedTimer_.setInterval(folderChangeSettleMilliseconds);
    connect(&folderChangedTimer_, &QTimer::timeout, this, &FolderSession::relistAfterChange);
    connect(&loader_, &PreviewLoader::busyChanged, this, &FolderSession::loadingChanged);
    connect(&loader_, &PreviewLoader::datesProgress, this,
            [this](std::size_t done, std::size_t total) {
                if (!state_.isLoading()) {
                    return;
                }
                state_.activity = activity::ReadingDates{done, total};
                if (!datesPublished_.isValid() ||
                    datesPublished_.elapsed() >= progressEveryMilliseconds || done == total) {
                    datesPublished_.restart();
                    publish();
                }
            });
    connect(&watcher_, &FolderWatcher::changed, &folderChangedTimer_, qOverload<>(&QTimer::start));
}

FolderSession::~FolderSession() {
    if (run_) {
        run_->stopRequested = true;
        run_->future.waitForFinished();
    }
}

void FolderSession::publish() {
    emit stateChanged(state_);
}

void FolderSession::setTargetPath(std::string path) {
    if (run_) {
        return;
    }
    // The empty text first, as a new folder is chosen.
    writeTargetDir({});
    writeTargetDir(std::move(path));
}

void FolderSession::writeTargetDir(std::string path) {
    if (path != state_.settings.targetDir) {
        dates_.clear();
    }
    state_.settings.targetDir = std::move(path);
    offerWhenLoaded_ = !state_.settings.targetDir.empty();
    relist(watchTargetDir());
}

void FolderSession::setText(std::string Settings::*field, std::string text) {
    if (run_) {
        return;
    }
    state_.settings.*field = std::move(text);
    if (field == &Settings::onlyExtensions) {
        reorder(); // chooses other entries
        return;
    }
    // The order of the names does not depend on how they are named: only new names change.
    format_ = NameFormat(state_.settings);
    preview_->formatChanged();
    checkNames();
}

void FolderSession::setToggle(bool Settings::*field, bool on, bool reorders) {
    if (run_) {
        return;
    }
    state_.settings.*field = on;
    // Keeping related files together, which reorders, also keeps their extensions.
    format_ = NameFormat(state_.settings);
    preview_->formatChanged();
    if (reorders) {
        reorder();
    } else {
        checkNames();
    }
}

void FolderSession::setOrder(Order order) {
    if (run_) {
        return;
    }
    state_.settings.order = order;
    reorder();
}

void FolderSession::setCameraClocks(std::vector<CameraClock> clocks) {
    if (run_ || state_.settings.cameraClocks == clocks) {
        return;
    }
    state_.settings.cameraClocks = std::move(clocks);
    if (state_.settings.order == Order::Taken) {
        reorder();
    } else {
        publish();
    }
}

std::vector<CameraSummary> FolderSession::cameras() const {
    if (state_.settings.order != Order::Taken) {
        return {};
    }
    return summarizeCameras(listing_.dates, state_.settings);
}

std::map<std::string, std::string, std::less<>> FolderSession::cameraFirstEntries(
    const std::function<bool(std::string_view name)>& preferred) const {
    std::map<std::string, std::string, std::less<>> entries;
    if (state_.settings.order != Order::Taken) {
        return entries;
    }
    // The dates the rows show, which the listing holds already: a member of a group of
    // related files shows its group's, taken within the same second.
    const DatesUsed& shown = listing_.shown;
    const std::size_t count = listing_.names.size();
    if (shown.cameras.size() != count || shown.dates.size() != count) {
        return entries;
    }
    struct Found {
        std::size_t first = 0;
        std::optional<std::size_t> firstPreferred;
    };
    std::map<std::string_view, Found, std::less<>> found;
    const auto earlier = [&](std::size_t entry, std::size_t than) {
        return shown.dates[entry].instant < shown.dates[than].instant;
    };
    // Photos of one camera mostly follow each other.
    Found* last = nullptr;
    std::string_view lastCamera;
    for (std::size_t entry = 0; entry < count; ++entry) {
        const std::string_view camera = shown.cameras[entry];
        if (camera.empty()) {
            continue;
        }
        if (last == nullptr || camera != lastCamera) {
            const auto [place, added] = found.try_emplace(camera, Found{entry, {}});
            last = &place->second;
            lastCamera = camera;
        }
        Found& first = *last;
        if (earlier(entry, first.first)) {
            first.first = entry;
        }
        if ((!first.firstPreferred || earlier(entry, *first.firstPreferred)) &&
            preferred(listing_.names[entry])) {
            first.firstPreferred = entry;
        }
    }
    for (const auto& [camera, first] : found) {
        entries.emplace(camera, listing_.names[first.firstPreferred.value_or(first.first)]);
    }
    return entries;
}

void FolderSession::checkNames() {
    const std::size_t longest =
        std::min<std::size_t>(longestName_, NameFormat::longestBuildableName);
    // With kept extensions the engine looks at every entry; on a keystroke, the longest
    // extension the listing holds, at the last position, tells first whether any can fail.
    const Arrangement& arrangement = listing_.arrangement;
    const bool surelyFine = format_.keepsExtensions() && !listing_.names.empty() &&
                            arrangement.endings.empty() &&
                            arrangement.leftOut(listing_.names.size()) == 0 &&
                            !format_.problemAt(listing_.names.size() - 1,
                                               longest - std::min(longest, longestExtension()));
    const auto unusable = surelyFine ? std::nullopt
                                     : findUnusableName(listing_.names, listing_.folders,
                                                        arrangement, format_, longest);
    NameCheck& check = state_.nameCheck;
    check = {};
    if (unusable) {
        check.problem = unusable->problem;
        check.partAtFault = format_.partAtFault(unusable->problem);
    }
    check.longestNewName = longest - NameFormat::temporarySuffix.size();
    check.changesNames = listing_.names.empty() ||
                         changesAnyName(listing_.names, listing_.folders, arrangement, format_);
    state_.extensionChanges =
        extensionChanges(state_.summary, format_) - extensionChanges(leftOutSummary_, format_);
    publish();
}

void FolderSession::countLeftOutAndUndated() {
    const std::size_t count = listing_.names.size();
    state_.leftOut = listing_.arrangement.leftOut(count);
    const std::size_t numbered = count - state_.leftOut;
    leftOutSummary_ = summarize(listing_, numbered);
    state_.withoutDateTaken = 0;
    if (state_.settings.order == Order::Taken) {
        for (std::size_t i = 0; i < numbered && i < listing_.dates.size(); ++i) {
            state_.withoutDateTaken += listing_.dates[i].taken ? 0 : 1;
        }
    }
    state_.inComputerZone = countDates(listing_.dates, numbered, state_.settings).inComputerZone;
}

std::size_t FolderSession::longestExtension() const {
    std::size_t longest = 0;
    for (const auto& [extension, files] : state_.summary.extensions) {
        longest = std::max(longest, extension.size());
    }
    return longest;
}

void FolderSession::showListing(ListedNames listing) {
    preview_->changeListing([&] { listing_ = std::move(listing); });
    state_.rows = listing_.names.size();
    state_.showsDates = preview_->showsDates();
    state_.showsCameras = preview_->showsCameras();
}

// The shown folder is no longer known: its rows, its counts and its last run go together.
void FolderSession::forgetListing() {
    showListing({});
    state_.summary = {};
    leftOutSummary_ = {};
    state_.lastRun = {};
    state_.leftOut = 0;
    state_.withoutDateTaken = 0;
    state_.inComputerZone = 0;
    state_.folderShown = false;
}

template <typename Work> void FolderSession::startRun(Work work) {
    // The run's own moves would each notify the watcher; the listing after the run shows
    // their result. The run lists the folder afresh, so the shown listing is handed to it,
    // to compare, rather than held twice.
    unwatchTargetDir();
    QFuture<void> loaderStopped = loader_.letGo();
    ListedNames shown;
    preview_->changeListing([&] { shown = std::exchange(listing_, {}); });
    state_.rows = 0;
    run_ = std::make_unique<Run>();
    state_.activity = activity::Running{};
    publish();
    Run& run = *run_;
    run.future =
        QtConcurrent::run([this, &run, work = std::move(work), shown = std::move(shown),
                           loaderStopped = std::move(loaderStopped)]() mutable -> RunResult {
            // A listing let go may still be reading the folder and the dates for a moment.
            loaderStopped.waitForFinished();
            RunWatch watch(
                [this](std::size_t done, std::size_t total) {
                    QMetaObject::invokeMethod(
                        this, [this, done, total] { runProgressed(done, total); },
                        Qt::QueuedConnection);
                },
                run.stopRequested, run.interrupts);
            RunResult result = work(watch, std::move(shown));
            QMetaObject::invokeMethod(
                this, [this] { runFinished(); }, Qt::QueuedConnection);
            return result;
        });
}

void FolderSession::rename() {
    if (run_ || state_.settings.targetDir.empty()) {
        return;
    }
    startRun(
        [this, settings = state_.settings](RunObserver& observer, ListedNames shown) -> RunResult {
            // Only the plan whose names were shown may be carried out.
            const std::uint64_t shownFingerprint = fingerprintOf(shown.names);
            shown = {};
            const auto opened = planFolder(*fileSystem_, settings, &dates_);
            if (!opened) {
                RenameResult failed;
                failed.report.outcome = RunOutcome::Failed;
                failed.report.failures.push_back(opened.error());
                return failed;
            }
            if (fingerprintOf(opened->plan.names) != shownFingerprint) {
                return RenameResult{{}, true};
            }
            return RenameResult{
                renameJournalled(*fileSystem_, *opened, settings.targetDir, journals_, observer),
                false};
        });
}

void FolderSession::undo() {
    if (run_ || state_.settings.targetDir.empty()) {
        return;
    }
    startRun([this, targetDir = state_.settings.targetDir](RunObserver& observer,
                                                           ListedNames) -> RunResult {
        return undoLastRun(*fileSystem_, targetDir, journals_, observer);
    });
}

void FolderSession::stopRun(AfterRun after) {
    if (run_) {
        run_->after = after;
        run_->stopRequested = true;
    }
}

void FolderSession::runProgressed(std::size_t done, std::size_t total) {
    if (run_) {
        state_.activity = activity::Running{done, total};
        publish();
    }
}

void FolderSession::runFinished() {
    if (!run_) {
        return;
    }
    // Told just before the run's thread hands its result over.
    run_->future.waitForFinished();
    FinishedRun finished{run_->future.takeResult(), run_->interrupts.signalReceived()};
    // A signal asks the program to end: the folder is not listed again for it.
    const bool showFolder = run_->after == AfterRun::ShowFolder && finished.signal == 0;
    run_.reset();
    state_.activity = activity::Finished{std::move(finished)};
    publish();
    state_.activity = activity::Idle{};
    if (showFolder) {
        relist(watchTargetDir());
    } else {
        forgetListing();
        publish();
    }
}

ForgetReport FolderSession::forget(bool setAside) {
    ForgetReport report =
        forgetDamagedRun(*fileSystem_, state_.settings.targetDir, journals_, setAside);
    if (setAside) {
        relist(watchTargetDir());
    }
    return report;
}

void FolderSession::unwatchTargetDir() {
    watcher_.watch({});
    folderChangedTimer_.stop();
}

QFuture<void> FolderSession::watchTargetDir() {
    folderChangedTimer_.stop();
    const std::string& path = state_.settings.targetDir;
    return watcher_.watch(path.empty() ? QString() : decodedName(path));
}

void FolderSession::reorder() {
    // The watcher keeps the held listing current, so only its order needs computing again.
    loader_.reorder(state_.settings, listingToReorder());
    publish();
}

ListedNames FolderSession::listingToReorder() {
    if (loader_.isBusy()) {
        return {}; // the running job's names are ordered instead
    }
    if (listing_.names.size() < rowsKeptWhileLoading) {
        return listing_;
    }
    ListedNames held;
    preview_->changeListing([&] { held = std::exchange(listing_, {}); });
    state_.rows = 0;
    return held;
}

void FolderSession::relist(QFuture<void> watchSet) {
    // The old listing goes first: a huge folder is not held twice while it is read again.
    forgetListing();
    // Listed once the watch is set: no change made after the listing goes unseen.
    loader_.list(state_.settings, std::move(watchSet));
    publish();
}

void FolderSession::relistAfterChange() {
    if (listing_.names.size() >= rowsKeptWhileLoading) {
        showListing({});
    }
    loader_.list(state_.settings);
}

void FolderSession::loadingChanged(bool loading) {
    if (run_) {
        return; // the run's own state stands
    }
    state_.activity = loading ? Activity(activity::Loading{}) : Activity(activity::Idle{});
    publish();
}

void FolderSession::loaded(PreviewLoader::Result result) {
    const bool offer = std::exchange(offerWhenLoaded_, false);
    if (!result) {
        forgetListing();
        checkNames();
        emit loadFailed(result.error());
        return;
    }
    if (result->facts) {
        state_.summary = std::move(result->facts->summary);
        state_.lastRun = std::move(result->facts->lastRun);
        longestName_ = result->facts->longestName;
    }
    preview_->setOrder(state_.settings.order);
    showListing(std::move(result->listing));
    state_.folderShown = !state_.settings.targetDir.empty();
    countLeftOutAndUndated();
    checkNames();
    const RecordedRunState last = state_.lastRun.state;
    if (offer && (last == RecordedRunState::Interrupted || last == RecordedRunState::Damaged)) {
        emit unfinishedRunFound(last);
    }
}

} // namespace brindleaf
