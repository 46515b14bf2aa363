#include "session/PreviewLoader.hpp"

#include "engine/Listing.hpp"

#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace brindleaf {

namespace {

// The listing and what else the window shows of the folder, read through one descriptor and
// off the window's thread: while the folder's watch is being set, the kernel keeps the
// folder locked for as long as it takes to visit every entry.
PreviewLoader::Result listWithFacts(FileSystem& fileSystem, const Journals& journals,
                                    const Settings& settings, DateCache& dates,
                                    RunObserver& observer) {
    if (settings.targetDir.empty()) {
        return LoadedPreview{{}, FolderFacts{}};
    }
    const auto folder = openTargetFolder(fileSystem, settings.targetDir);
    if (!folder) {
        return std::unexpected(folder.error());
    }
    auto listed = listOpenedFileNames(fileSystem, *folder, settings, &dates, observer);
    if (!listed) {
        return std::unexpected(listed.error());
    }
    FolderFacts facts{summarize(*listed), {}, fileSystem.longestName(*folder)};
    if (const auto identity = fileSystem.identify(*folder)) {
        facts.lastRun = journals.lastRunOf(settings.targetDir, *identity);
    }
    return LoadedPreview{std::move(*listed), std::move(facts)};
}

// Tells the window how far the reading of dates is, and stops it for a newer request.
class DateProgress final : public RunObserver {
public:
    DateProgress(PreviewLoader& loader, const std::atomic<bool>& superseded)
        : loader_(loader), superseded_(superseded) {}

    bool proceed(std::size_t done, std::size_t total) override {
        QMetaObject::invokeMethod(
            &loader_, [loader = &loader_, done, total] { emit loader->datesProgress(done, total); },
            Qt::QueuedConnection);
        return !superseded_.load();
    }

private:
    PreviewLoader& loader_;
    const std::atomic<bool>& superseded_;
};

} // namespace

PreviewLoader::PreviewLoader(FileSystem& fileSystem, const Journals& journals, DateCache& dates,
                             Delivery deliver, QObject* parent)
    : QObject(parent), fileSystem_(fileSystem), journals_(journals), dates_(dates),
      deliver_(std::move(deliver)) {}

PreviewLoader::~PreviewLoader() {
    future_.waitForFinished();
}

void PreviewLoader::list(const Settings& settings, QFuture<void> ready) {
    if (running_) {
        runningIsStale_ = true;
        supersedeRunning();
        waiting_ = Request{Step::List, settings, std::move(ready)};
        return;
    }
    start({Step::List, settings, std::move(ready)}, {});
}

void PreviewLoader::reorder(const Settings& settings, ListedNames held) {
    if (needsDates(settings.order, held.datesRead) && !running_) {
        list(settings);
        return;
    }
    if (running_) {
        supersedeRunning();
        // A listing that waits is made with the newest settings anyway.
        if (waiting_) {
            waiting_->settings = settings;
        } else {
            waiting_ = Request{Step::Reorder, settings, {}};
        }
        return;
    }
    start({Step::Reorder, settings, {}}, {std::move(held), std::nullopt});
}

void PreviewLoader::supersedeRunning() {
    superseded_ = true;
}

QFuture<void> PreviewLoader::letGo() {
    waiting_.reset();
    supersedeRunning();
    QFuture<void> stopped(future_);
    if (std::exchange(running_, std::nullopt)) {
        emit busyChanged(false);
    }
    return stopped;
}

void PreviewLoader::start(Request request, LoadedPreview held) {
    const bool wasIdle = !running_;
    const std::uint64_t job = ++jobs_;
    running_ = job;
    runningIsStale_ = false;
    superseded_ = false;
    if (wasIdle) {
        emit busyChanged(true);
    }
    future_ = QtConcurrent::run(
        [this, job, request = std::move(request), held = std::move(held)]() mutable {
            Result result = carryOut(request, std::move(held));
            QMetaObject::invokeMethod(
                this, [this, job] { completed(job); }, Qt::QueuedConnection);
            return result;
        });
}

PreviewLoader::Result PreviewLoader::carryOut(Request& request, LoadedPreview held) {
    if (request.step == Step::Reorder) {
        reorderListedNames(held.listing, request.settings);
        return held;
    }
    request.ready.waitForFinished();
    DateProgress progress(*this, superseded_);
    return listWithFacts(fileSystem_, journals_, request.settings, dates_, progress);
}

void PreviewLoader::completed(std::uint64_t job) {
    // A result dropped by letGo() still has its notice queued.
    if (running_ != job) {
        return;
    }
    Result result = future_.takeResult();
    // A future whose result was taken never reads as finished again.
    future_ = {};
    if (waiting_) {
        Request next = *std::exchange(waiting_, std::nullopt);
        if (next.step == Step::List || runningIsStale_ || !result ||
            needsDates(next.settings.order, result->listing.datesRead)) {
            next.step = Step::List;
            start(std::move(next), {});
        } else {
            start(std::move(next), std::move(*result));
        }
        return;
    }
    running_.reset();
    emit busyChanged(false);
    deliver_(std::move(result));
}

} // namespace brindleaf
