#include "window/PreviewLoader.hpp"

#include "engine/Listing.hpp"

#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace brindleaf {

PreviewLoader::PreviewLoader(FileSystem& fileSystem, Delivery deliver, QObject* parent)
    : QObject(parent), fileSystem_(fileSystem), deliver_(std::move(deliver)) {}

PreviewLoader::~PreviewLoader() {
    future_.waitForFinished();
}

void PreviewLoader::list(const Settings& settings) {
    if (running_) {
        runningIsStale_ = true;
        waiting_ = Request{Step::List, settings};
        return;
    }
    start({Step::List, settings}, {});
}

void PreviewLoader::reorder(const Settings& settings, ListedNames held) {
    if (running_) {
        // A listing that waits is made with the newest settings anyway.
        const Step step = waiting_ ? waiting_->step : Step::Reorder;
        waiting_ = Request{step, settings};
        return;
    }
    start({Step::Reorder, settings}, {std::move(held), std::nullopt});
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
    future_ = QtConcurrent::run([this, job, request, held = std::move(held)]() mutable -> Result {
        Result result = [&]() -> Result {
            if (request.step == Step::Reorder) {
                reorderListedNames(held.listing, request.settings);
                return std::move(held);
            }
            auto listed = listFileNames(request.settings, fileSystem_);
            if (!listed) {
                return std::unexpected(listed.error());
            }
            ListingSummary summary = summarize(*listed);
            return LoadedPreview{std::move(*listed), std::move(summary)};
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
            start({Step::List, next.settings}, {});
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
