#include "window/PreviewLoader.hpp"

#include "engine/Listing.hpp"

#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace brindleaf {

namespace {

// Read beside the listing, not on the window's thread: while the folder's watch is being
// set, the kernel keeps the folder locked for as long as it takes to visit every entry.
FolderFacts readFolderFacts(FileSystem& fileSystem, const Journals& journals,
                            const ListedNames& listing, const std::string& targetDir) {
    FolderFacts facts{summarize(listing), {}};
    if (targetDir.empty()) {
        return facts;
    }
    if (const auto folder = fileSystem.openFolder(targetDir)) {
        facts.longestName = fileSystem.longestName(*folder);
        if (const auto identity = fileSystem.identify(*folder)) {
            facts.lastRun = journals.lastRunOf(targetDir, *identity);
        }
    }
    return facts;
}

} // namespace

PreviewLoader::PreviewLoader(FileSystem& fileSystem, const Journals& journals, Delivery deliver,
                             QObject* parent)
    : QObject(parent), fileSystem_(fileSystem), journals_(journals), deliver_(std::move(deliver)) {}

PreviewLoader::~PreviewLoader() {
    future_.waitForFinished();
}

void PreviewLoader::list(const Settings& settings, QFuture<void> ready) {
    if (running_) {
        runningIsStale_ = true;
        waiting_ = Request{Step::List, settings, std::move(ready)};
        return;
    }
    start({Step::List, settings, std::move(ready)}, {});
}

void PreviewLoader::reorder(const Settings& settings, ListedNames held) {
    if (running_) {
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

void PreviewLoader::cancel() {
    waiting_.reset();
    future_.waitForFinished();
    future_ = {};
    running_.reset();
    setBusy(false);
}

void PreviewLoader::finish() {
    while (running_) {
        future_.waitForFinished();
        completed(*running_);
    }
}

void PreviewLoader::start(const Request& request, LoadedPreview held) {
    const std::uint64_t job = ++jobs_;
    running_ = job;
    runningIsStale_ = false;
    setBusy(true);
    future_ = QtConcurrent::run(
        [this, job, request = request, held = std::move(held)]() mutable -> Result {
            Result result = [&]() -> Result {
                if (request.step == Step::Reorder) {
                    reorderListedNames(held.listing, request.settings);
                    return std::move(held);
                }
                request.ready.waitForFinished();
                auto listed = listFileNames(request.settings, fileSystem_);
                if (!listed) {
                    return std::unexpected(listed.error());
                }
                FolderFacts facts =
                    readFolderFacts(fileSystem_, journals_, *listed, request.settings.targetDir);
                return LoadedPreview{std::move(*listed), std::move(facts)};
            }();
            QMetaObject::invokeMethod(
                this, [this, job] { completed(job); }, Qt::QueuedConnection);
            return result;
        });
}

void PreviewLoader::completed(std::uint64_t job) {
    // A result handled by finish() or dropped by cancel() still has its notice queued.
    if (running_ != job) {
        return;
    }
    Result result = future_.takeResult();
    // A future whose result was taken never reads as finished again.
    future_ = {};
    running_.reset();
    if (waiting_) {
        const Request next = *std::exchange(waiting_, std::nullopt);
        if (next.step == Step::List || runningIsStale_ || !result) {
            start({Step::List, next.settings, next.ready}, {});
        } else {
            start(next, std::move(*result));
        }
        return;
    }
    setBusy(false);
    deliver_(std::move(result));
}

void PreviewLoader::setBusy(bool busy) {
    if (busy != busy_) {
        busy_ = busy;
        emit busyChanged(busy);
    }
}

} // namespace brindleaf
