#pragma once

#include <QFuture>
#include <QObject>
#include <QThread>

#include <cstdint>

class QFileSystemWatcher;

namespace brindleaf {

// Tells when the entries of one folder change. Setting a watch on a folder makes the kernel
// visit every entry of it that it holds in memory, which takes tens of milliseconds at a
// million entries, and keeps the folder locked meanwhile. The watch is set and cleared on a
// thread of its own, so the window never waits for it; whoever reads the folder next waits
// for the watch instead, since a thread that opens the folder meanwhile spins in the kernel,
// starving the rest of the program on a small machine.
class FolderWatcher : public QObject {
    Q_OBJECT

public:
    explicit FolderWatcher(QObject* parent = nullptr);
    ~FolderWatcher() override;

    // Watches `path` instead of the folder watched before; an empty path watches none. A
    // change seen by an earlier watch is never reported after this call. The future finishes
    // once the watch is in place.
    QFuture<void> watch(const QString& path);

signals:
    void changed();

private:
    QThread thread_;
    QFileSystemWatcher* watcher_; // lives on thread_
    std::uint64_t watches_ = 0;
};

} // namespace brindleaf
