#include "pictures/PictureSource.hpp"

#include "pictures/PictureMaking.hpp"

#include <QMutexLocker>
#include <QThread>

#include <algorithm>

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace brindleaf {

namespace {

// Linux ignores Qt's thread priorities short of the idle one, under which a busy machine
// would never make a picture; a thread's own niceness still lets the window's thread, and
// the threads Qt paints with, go first.
void yieldToTheWindow() {
#if defined(__linux__)
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
#endif
}

} // namespace

PictureSource::PictureSource(QByteArray thumbnailFolder, int threads, qsizetype budgetBytes,
                             QObject* parent)
    : QObject(parent), thumbnails_(std::move(thumbnailFolder)), cache_(budgetBytes),
      threads_(threads > 0 ? threads : std::max(1, QThread::idealThreadCount() - 1)) {
    pool_.setMaxThreadCount(threads_);
    // Typing, scrolling and runs come first.
    pool_.setThreadPriority(QThread::LowPriority);
}

PictureSource::~PictureSource() {
    {
        const QMutexLocker lock(&mutex_);
        queue_.clear();
    }
    pool_.waitForDone();
}

void PictureSource::setFolder(QByteArray absolutePath) {
    if (absolutePath != folder_) {
        folder_ = std::move(absolutePath);
        forget();
    }
}

void PictureSource::forget() {
    ++generation_;
    cache_.clear();
    const QMutexLocker lock(&mutex_);
    queue_.clear();
    making_.clear();
}

std::optional<QImage> PictureSource::picture(const QByteArray& name, int side) {
    const QImage* found = cache_.find(PictureKey{name, side});
    return found != nullptr ? std::optional<QImage>(*found) : std::nullopt;
}

void PictureSource::request(const std::vector<PictureKey>& keys) {
    // Everything the window's thread can do alone is done before it takes the lock.
    std::deque<Job> jobs;
    QSet<PictureKey> queued;
    for (const PictureKey& key : keys) {
        if (!cache_.contains(key) && !queued.contains(key)) {
            queued.insert(key);
            jobs.push_back(Job{generation_, folder_, key, pictureKindOf(key.name)});
        }
    }
    int starting = 0;
    {
        const QMutexLocker lock(&mutex_);
        std::erase_if(jobs, [this](const Job& job) { return making_.contains(job.key); });
        queue_.swap(jobs);
        starting = std::min(static_cast<int>(queue_.size()), threads_ - draining_);
        draining_ += std::max(starting, 0);
    }
    for (int thread = 0; thread < starting; ++thread) {
        pool_.start([this] { drain(); });
    }
}

// Runs on a thread of the pool: takes the next job until there is none.
void PictureSource::drain() {
    yieldToTheWindow();
    while (true) {
        Job job;
        {
            const QMutexLocker lock(&mutex_);
            if (queue_.empty()) {
                --draining_;
                return;
            }
            job = std::move(queue_.front());
            queue_.pop_front();
            making_.insert(job.key);
        }
        QImage picture = makePicture(job.folder, job.key.name, job.kind, job.key.side, thumbnails_);
        QMetaObject::invokeMethod(
            this,
            [this, job = std::move(job), picture = std::move(picture)]() mutable {
                made(job, std::move(picture));
            },
            Qt::QueuedConnection);
    }
}

void PictureSource::made(const Job& job, QImage picture) {
    if (job.generation != generation_) {
        return; // made for a folder, or for files, no longer shown
    }
    {
        const QMutexLocker lock(&mutex_);
        making_.remove(job.key);
    }
    cache_.insert(job.key, std::move(picture));
    emit pictureMade(job.key.name, job.key.side);
}

} // namespace brindleaf
