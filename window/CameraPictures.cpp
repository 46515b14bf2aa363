#include "window/CameraPictures.hpp"

#include "pictures/PictureMaking.hpp"

#include <QDir>
#include <QFile>
#include <QPixmap>

#include <cmath>
#include <vector>

namespace brindleaf {

bool ImageNames::operator()(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
    const QByteArray key(extension.data(), static_cast<qsizetype>(extension.size()));
    auto known = byExtension_.constFind(key);
    if (known == byExtension_.constEnd()) {
        const QByteArray whole(name.data(), static_cast<qsizetype>(name.size()));
        known = byExtension_.insert(key, pictureKindOf(whole) == PictureKind::Image);
    }
    return *known;
}

CameraPictures::CameraPictures(QIcon placeholder, QByteArray thumbnailFolder, QObject* parent)
    : QObject(parent), placeholder_(std::move(placeholder)), source_(std::move(thumbnailFolder)) {
    connect(&source_, &PictureSource::pictureMade, this, &CameraPictures::made);
}

void CameraPictures::show(QByteArray folder,
                          std::map<std::string, std::string, std::less<>> entries,
                          qreal pixelRatio) {
    // The shared thumbnails are named by absolute paths.
    if (!folder.isEmpty() && !folder.startsWith('/')) {
        folder = QFile::encodeName(QDir::currentPath()) + '/' + folder;
    }
    if (pixelRatio != pixelRatio_ || folder != folder_) {
        icons_.clear();
    }
    pixelRatio_ = pixelRatio;
    folder_ = folder;
    source_.setFolder(std::move(folder));
    entries_ = std::move(entries);
    std::vector<PictureKey> keys;
    keys.reserve(entries_.size());
    for (const auto& [camera, entry] : entries_) {
        keys.push_back({QByteArray::fromStdString(entry), sideInPixels()});
    }
    source_.request(keys);
}

void CameraPictures::forget() {
    source_.forget();
    icons_.clear();
}

int CameraPictures::sideInPixels() const {
    return static_cast<int>(std::lround(pictureSide * pixelRatio_));
}

QIcon CameraPictures::iconOf(const std::string& camera) {
    const auto entry = entries_.find(camera);
    if (entry == entries_.end()) {
        return placeholder_;
    }
    const QByteArray name = QByteArray::fromStdString(entry->second);
    if (const auto icon = icons_.constFind(name); icon != icons_.constEnd()) {
        return *icon;
    }
    auto picture = source_.picture(name, sideInPixels());
    if (!picture || picture->isNull()) {
        return placeholder_;
    }
    picture->setDevicePixelRatio(pixelRatio_);
    const QIcon icon(QPixmap::fromImage(*picture));
    icons_.insert(name, icon);
    return icon;
}

bool CameraPictures::hasPicture(const std::string& camera) {
    return iconOf(camera).cacheKey() != placeholder_.cacheKey();
}

bool CameraPictures::isMade(const std::string& camera) {
    const auto entry = entries_.find(camera);
    return entry != entries_.end() &&
           source_.picture(QByteArray::fromStdString(entry->second), sideInPixels()).has_value();
}

void CameraPictures::made(const QByteArray& name, int side) {
    if (side != sideInPixels()) {
        return;
    }
    for (const auto& [camera, entry] : entries_) {
        if (name == QByteArray::fromStdString(entry)) {
            emit pictureMade(camera);
        }
    }
}

} // namespace brindleaf
