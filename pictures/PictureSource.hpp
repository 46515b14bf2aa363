#pragma once

#include "pictures/PictureCache.hpp"
#include "pictures/PictureMaking.hpp"
#include "pictures/ThumbnailCache.hpp"

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QThreadPool>

#include <deque>
#include <optional>
#include <vector>

namespace brindleaf {

// Makes the pictures of a folder's entries on threads of its own, only for the entries it
// is asked for, and keeps them in memory. Each request replaces the last: what was asked
// before and not again, such as the rows scrolled past, is dropped unmade. Each picture made
// is handed back on the thread the source lives on, by pictureMade(); nothing here waits for
// a picture to be made.
class PictureSource : public QObject {
    Q_OBJECT

public:
    // About 64 MB of pictures in memory, several screens full at the largest size.
    static constexpr qsizetype defaultBudget = 64 * 1024 * 1024;

    // `threads` 0 makes one thread for each core but one, which is left to the window.
    explicit PictureSource(QByteArray thumbnailFolder = defaultThumbnailFolder(), int threads = 0,
                           qsizetype budgetBytes = defaultBudget, QObject* parent = nullptr);
    ~PictureSource() override;
    PictureSource(const PictureSource&) = delete;
    PictureSource& operator=(const PictureSource&) = delete;

    // The folder whose entries are named, by the bytes of its absolute path. Pictures made or
    // asked for another folder are forgotten.
    void setFolder(QByteArray absolutePath);
    // Forgets every picture made or asked for: the entries may no longer be the files they
    // were under their names, as after a run.
    void forget();

    // The picture made of the entry `name` fitting a square of `side` pixels: none while it
    // is not made, a null image when the entry has none to show.
    [[nodiscard]] std::optional<QImage> picture(const QByteArray& name, int side);

    // Makes the pictures of these keys, first to last, and drops every one asked before that
    // is not among them and not already being made.
    void request(const std::vector<PictureKey>& keys);

    [[nodiscard]] qsizetype cachedBytes() const { return cache_.bytes(); }

signals:
    void pictureMade(const QByteArray& name, int side);

private:
    struct Job {
        quint64 generation;
        QByteArray folder;
        PictureKey key;
        PictureKind kind;
    };

    void drain();
    void made(const Job& job, QImage picture);

    const ThumbnailCache thumbnails_;
    PictureCache cache_;
    QByteArray folder_;
    quint64 generation_ = 0;

    QMutex mutex_;
    // Guarded by the mutex: what is still to be made, what is being made, and how many
    // threads are taking jobs.
    std::deque<Job> queue_;
    QSet<PictureKey> making_;
    int draining_ = 0;

    int threads_;
    QThreadPool pool_;
};

} // namespace brindleaf
