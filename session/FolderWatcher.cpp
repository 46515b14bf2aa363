#include "session/FolderWatcher.hpp"

#include <QFileSystemWatcher>
#include <QPromise>

#include <memory>

namespace brindleaf {

FolderWatcher::FolderWatcher(QObject* parent) : QObject(parent), watcher_(new QFileSystemWatcher) {
    thread_.setObjectName(QStringLiteral("folder watcher"));
    watcher_->moveToThread(&thread_);
    thread_.start();
}

FolderWatcher::~FolderWatcher() {
    thread_.quit();
    thread_.wait();
    // Its thread has ended: the watcher may go from here, with the requests still queued for it.
    delete watcher_;
}

QFuture<void> FolderWatcher::watch(const QString& path) {
    const std::uint64_t watch = ++watches_;
    // A promise never kept, because the watcher went first, still finishes its future.
    auto watchSet = std::make_shared<QPromise<void>>();
    watchSet->start();
    QFuture<void> watched = watchSet->future();
    QMetaObject::invokeMethod(watcher_, [this, watcher = watcher_, path, watch, watchSet] {
        disconnect(watcher, &QFileSystemWatcher::directoryChanged, nullptr, nullptr);
        if (const QStringList watched = watcher->directories(); !watched.isEmpty()) {
            watcher->removePaths(watched);
        }
        if (path.isEmpty()) {
            watchSet->finish();
            return;
        }
        watcher->addPath(path);
        watchSet->finish();
        // Each watch tags its changes, so that one reported late for an older watch is dropped.
        connect(watcher, &QFileSystemWatcher::directoryChanged, this, [this, watch] {
            if (watch == watches_) {
                emit changed();
            }
        });
    });
    return watched;
}

} // namespace brindleaf
