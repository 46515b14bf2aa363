#include "pictures/PictureCache.hpp"

namespace brindleaf {

const QImage* PictureCache::find(const PictureKey& key) {
    const auto place = places_.constFind(key);
    if (place == places_.constEnd()) {
        return nullptr;
    }
    held_.splice(held_.begin(), held_, *place);
    return &held_.front().picture;
}

void PictureCache::insert(const PictureKey& key, QImage picture) {
    if (const auto place = places_.constFind(key); place != places_.constEnd()) {
        bytes_ -= (*place)->cost;
        held_.erase(*place);
        places_.erase(place);
    }
    // What an entry without a picture costs is its name and its place in the lists.
    const qsizetype cost = picture.sizeInBytes() + key.name.size() + 64;
    held_.push_front(Held{key, std::move(picture), cost});
    places_.insert(key, held_.begin());
    bytes_ += cost;
    while (bytes_ > budget_ && held_.size() > 1) {
        bytes_ -= held_.back().cost;
        places_.remove(held_.back().key);
        held_.pop_back();
    }
}

void PictureCache::clear() {
    places_.clear();
    held_.clear();
    bytes_ = 0;
}

} // namespace brindleaf
