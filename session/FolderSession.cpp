#include "session/FolderSession.hpp"

#include "session/NameText.hpp"
#include "session/PreviewModel.hpp"

#include <algorithm>
#include <utility>

namespace brindleaf {

namespace {

// Other programs often change a folder in bursts; one relisting covers a burst.
constexpr int folderChangeSettleMilliseconds = 50;

// Up to this many rows stay on screen while the folder is listed or ordered again: a copy
// of them costs a few milliseconds. A larger listing is let go rather than held twice.
constexpr int rowsKeptWhileLoading = 100'000;

} // namespace

FolderSession::FolderSession(std::unique_ptr<FileSystem> fileSystem, JournalFolder journalFolder,
                             QObject* parent)
    : QObject(parent), fileSystem_(std::move(fileSystem)), journals_(std::move(journalFolder)),
      loader_(*fileSystem_, journals_, dates_,
              [this](PreviewLoader::Result result) { loaded(std::move(result)); }),
      preview_(new PreviewModel(this)) {
    folderChangedTimer_.setSingleShot(true);
    folderChangedTimer_.setInterval(folderChangeSettleMilliseconds);
    connect(&folderChangedTimer_, &QTimer::timeout, this, &FolderSession::relistAfterChange);
    connect(&loader_, &PreviewLoader::busyChanged, this, &FolderSession::loadingChanged);
    connect(&loader_, &PreviewLoader::datesProgress, this, &FolderSession::datesProgress);
    connect(&watcher_, &FolderWatcher::changed, &folderChangedTimer_, qOverload<>(&QTimer::start));
}

FolderSession::~FolderSession() = default;

bool FolderSession::lastRunUnfinished() const {
    return refusesRenaming(lastRun_.state);
}

// Nothing is renamed or undone while the preview is still being made.
bool FolderSession::canRename() const {
    return !isLoading() && !nameCheck_.problem && nameCheck_.changesNames && !lastRunUnfinished();
}

bool FolderSession::canUndo() const {
    return !isLoading() &&
           (lastRun_.state == LastRunState::Finished ||
            lastRun_.state == LastRunState::Interrupted || lastRun_.state == LastRunState::Damaged);
}

void FolderSession::setTargetPath(std::string path) {
    // The empty text first, as a new folder is chosen.
    writeTargetDir({});
    writeTargetDir(std::move(path));
}

void FolderSession::writeTargetDir(std::string path) {
    if (path != settings_.targetDir) {
        dates_.clear();
    }
    settings_.targetDir = std::move(path);
    emit settingsChanged();
    offerWhenLoaded_ = !settings_.targetDir.empty();
    relist(watchTargetDir());
}

void FolderSession::setText(std::string Settings::*field, std::string text) {
    settings_.*field = std::move(text);
    emit settingsChanged();
    if (field == &Settings::onlyExtensions) {
        reorder(); // chooses other entries
        return;
    }
    // The order of the names does not depend on how they are named: only new names change.
    preview_->setFormat(NameFormat(settings_));
    checkNames();
}

void FolderSession::setToggle(bool Settings::*field, bool on, bool reorders) {
    settings_.*field = on;
    emit settingsChanged();
    // Keeping related files together, which reorders, also keeps their extensions.
    preview_->setFormat(NameFormat(settings_));
    if (reorders) {
        reorder();
    } else {
        checkNames();
    }
}

void FolderSession::setOrder(Order order) {
    settings_.order = order;
    emit settingsChanged();
    reorder();
}

void FolderSession::checkNames() {
    const NameFormat& format = preview_->format();
    const std::size_t longest =
        std::min<std::size_t>(longestName_, NameFormat::longestBuildableName);
    const ListedNames& listing = preview_->listing();
    // With kept extensions the engine looks at every entry; on a keystroke, the longest
    // extension the listing holds, at the last position, tells first whether any can fail.
    const Arrangement& arrangement = listing.arrangement;
    const bool surelyFine = format.keepsExtensions() && !listing.names.empty() &&
                            arrangement.endings.empty() &&
                            arrangement.leftOut(listing.names.size()) == 0 &&
                            !format.problemAt(listing.names.size() - 1,
                                              longest - std::min(longest, longestExtension()));
    const auto unusable =
        surelyFine ? std::nullopt
                   : findUnusableName(listing.names, listing.folders, arrangement, format, longest);
    nameCheck_ = {};
    if (unusable) {
        nameCheck_.problem = unusable->problem;
        nameCheck_.partAtFault = format.partAtFault(unusable->problem);
    }
    nameCheck_.longestNewName = longest - NameFormat::temporarySuffix.size();
    nameCheck_.changesNames = listing.names.empty() ||
                              changesAnyName(listing.names, listing.folders, arrangement, format);
    emit previewChanged();
}

std::size_t FolderSession::leftOut() const {
    const ListedNames& listing = preview_->listing();
    return listing.arrangement.leftOut(listing.names.size());
}

std::size_t FolderSession::extensionChanges() const {
    const NameFormat& format = preview_->format();
    return brindleaf::extensionChanges(summary_, format) -
           brindleaf::extensionChanges(leftOutSummary_, format);
}

void FolderSession::countLeftOutAndUndated() {
    const ListedNames& listing = preview_->listing();
    leftOutSummary_ = summarize(listing, listing.names.size() - leftOut());
    withoutDateTaken_ = 0;
    if (settings_.order == Order::Taken) {
        const std::size_t numbered = listing.names.size() - leftOut();
        for (std::size_t i = 0; i < numbered && i < listing.dates.size(); ++i) {
            withoutDateTaken_ += listing.dates[i].taken ? 0 : 1;
        }
    }
}

std::size_t FolderSession::longestExtension() const {
    std::size_t longest = 0;
    for (const auto& [extension, files] : summary_.extensions) {
        longest = std::max(longest, extension.size());
    }
    return longest;
}

std::uint64_t FolderSession::shownPlan() {
    loader_.finish();
    return fingerprintOf(preview_->listing().names);
}

void FolderSession::beginRun() {
    // The run's own moves would each notify the watcher; the listing after the run shows
    // their result. The run lists the folder afresh, so the preview's copy of the listing
    // is let go rather than held twice.
    unwatchTargetDir();
    loader_.cancel();
    preview_->setListing({});
}

void FolderSession::endRun(bool relisting) {
    if (relisting) {
        relist(watchTargetDir());
    }
}

RunReport FolderSession::rename(RunObserver& observer, std::uint64_t shown, bool& changed) {
    changed = false;
    const auto opened = planFolder(*fileSystem_, settings_, &dates_);
    if (!opened) {
        RunReport report;
        report.outcome = RunOutcome::Failed;
        report.failures.push_back(opened.error());
        return report;
    }
    changed = fingerprintOf(opened->plan.names) != shown;
    if (changed) {
        return {};
    }
    return renameJournalled(*fileSystem_, *opened, settings_.targetDir, journals_, observer);
}

UndoReport FolderSession::undo(RunObserver& observer) {
    return undoLastRun(*fileSystem_, settings_.targetDir, journals_, observer);
}

ForgetReport FolderSession::forget(bool setAside) {
    ForgetReport report = forgetDamagedRun(*fileSystem_, settings_.targetDir, journals_, setAside);
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
    return watcher_.watch(settings_.targetDir.empty() ? QString()
                                                      : decodedName(settings_.targetDir));
}

void FolderSession::reorder() {
    // The watcher keeps the held listing current, so only its order needs computing again.
    loader_.reorder(settings_, listingToReorder());
}

ListedNames FolderSession::listingToReorder() {
    if (loader_.isBusy()) {
        return {}; // the running job's names are ordered instead
    }
    if (preview_->rowCount() < rowsKeptWhileLoading) {
        return preview_->listing();
    }
    return preview_->takeListing();
}

void FolderSession::relist(QFuture<void> watchSet) {
    // The old listing goes first: a huge folder is not held twice while it is read again.
    preview_->setListing({});
    summary_ = {};
    leftOutSummary_ = {};
    lastRun_ = {};
    folderShown_ = false;
    emit previewChanged();
    // Listed once the watch is set: no change made after the listing goes unseen.
    loader_.list(settings_, std::move(watchSet));
}

void FolderSession::relistAfterChange() {
    if (preview_->rowCount() >= rowsKeptWhileLoading) {
        preview_->setListing({});
    }
    loader_.list(settings_);
}

void FolderSession::loaded(PreviewLoader::Result result) {
    const bool offer = std::exchange(offerWhenLoaded_, false);
    if (!result) {
        preview_->setListing({});
        summary_ = {};
        leftOutSummary_ = {};
        lastRun_ = {};
        folderShown_ = false;
        checkNames();
        emit loadFailed(result.error());
        return;
    }
    if (result->facts) {
        summary_ = std::move(result->facts->summary);
        lastRun_ = std::move(result->facts->lastRun);
        longestName_ = result->facts->longestName;
    }
    preview_->setOrder(settings_.order);
    preview_->setListing(std::move(result->listing));
    folderShown_ = !settings_.targetDir.empty();
    countLeftOutAndUndated();
    checkNames();
    if (offer &&
        (lastRun_.state == LastRunState::Interrupted || lastRun_.state == LastRunState::Damaged)) {
        emit unfinishedRunFound(lastRun_.state);
    }
}

} // namespace brindleaf
