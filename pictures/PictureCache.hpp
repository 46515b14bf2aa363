#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>

#include <list>

namespace brindleaf {

// Which picture: an entry's name and the side of the square it fits.
struct PictureKey {
    QByteArray name;
    int side = 0;
    friend bool operator==(const PictureKey&, const PictureKey&) = default;
};

inline size_t qHash(const PictureKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.name, key.side);
}

// The pictures made, held in memory up to a budget counted in image bytes: the one used
// longest ago goes first. An entry that has no picture is remembered too, so that it is not
// tried again at each scroll.
class PictureCache {
public:
    explicit PictureCache(qsizetype budgetBytes) : budget_(budgetBytes) {}

    // The picture held for `key`, now the one used last; nullptr when none is held.
    [[nodiscard]] const QImage* find(const PictureKey& key);
    [[nodiscard]] bool contains(const PictureKey& key) const { return places_.contains(key); }
    void insert(const PictureKey& key, QImage picture);
    void clear();
    [[nodiscard]] qsizetype bytes() const { return bytes_; }

private:
    struct Held {
        PictureKey key;
        QImage picture;
        qsizetype cost;
    };

    qsizetype budget_;
    qsizetype bytes_ = 0;
    // The one used last first.
    std::list<Held> held_;
    QHash<PictureKey, std::list<Held>::iterator> places_;
};

} // namespace brindleaf
