#include "pictures/PictureMaking.hpp"

#include "platform/EmbeddedPreview.hpp"
#include "platform/UniqueFd.hpp"

#include <QFile>
#include <QImageReader>
#include <QMimeDatabase>
#include <QTransform>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brindleaf {

namespace {

// Smaller than `side` on both sides, never made larger than it is; in a format painted
// without conversion.
QImage fitted(const QImage& image, int side) {
    QImage fit = image.width() > side || image.height() > side
                     ? image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                     : image;
    return fit.convertToFormat(fit.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                     : QImage::Format_RGB32);
}

QImage decodedPreview(const EmbeddedPreview& preview) {
    const QImage image = QImage::fromData(
        QByteArray::fromRawData(reinterpret_cast<const char*>(preview.bytes.data()),
                                static_cast<qsizetype>(preview.bytes.size())));
    return image.isNull() ? image : upright(image, preview.orientation);
}

QImage imagePicture(const UniqueFd& file, int side) {
    const auto side32 = static_cast<std::uint32_t>(side);
    if (const auto preview = readEmbeddedPreview(file, side32)) {
        if (QImage image = decodedPreview(*preview); !image.isNull()) {
            return image;
        }
    }
    QFile device;
    const int descriptor = ::fcntl(file.get(), F_DUPFD_CLOEXEC, 0);
    if (descriptor >= 0 &&
        device.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (QImage image = decodeScaled(device, side); !image.isNull()) {
            return image;
        }
    } else if (descriptor >= 0) {
        ::close(descriptor);
    }
    // A raw file's pixels cannot be decoded here, but its smaller previews can.
    const auto smaller = readEmbeddedPreview(file, side32, SmallerPreview::Largest);
    return smaller ? decodedPreview(*smaller) : QImage();
}

} // namespace

PictureKind pictureKindOf(const QByteArray& name) {
    // The database is shared between threads and caches what it reads.
    static const QMimeDatabase types;
    const QString type =
        types.mimeTypeForFile(QFile::decodeName(name), QMimeDatabase::MatchExtension).name();
    if (type.startsWith(QLatin1String("image/"))) {
        return PictureKind::Image;
    }
    if (type.startsWith(QLatin1String("video/"))) {
        return PictureKind::Video;
    }
    return PictureKind::None;
}

QImage upright(const QImage& image, int orientation) {
    // As the EXIF orientations read: mirrored left to right or top to bottom first, then
    // turned a quarter clockwise.
    const bool mirror =
        orientation == 2 || orientation == 3 || orientation == 7 || orientation == 8;
    const bool flip = orientation == 3 || orientation == 4 || orientation == 5 || orientation == 8;
    const bool quarter = orientation >= 5 && orientation <= 8;
    QImage turned = mirror || flip ? image.mirrored(mirror, flip) : image;
    return quarter ? turned.transformed(QTransform().rotate(90)) : turned;
}

QImage decodeScaled(QIODevice& device, int side) {
    QImageReader reader(&device);
    reader.setAutoTransform(true);
    // A square keeps its fit whichever way the image is turned.
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > side || size.height() > side)) {
        reader.setScaledSize(size.scaled(side, side, Qt::KeepAspectRatio).expandedTo({1, 1}));
    }
    return reader.read();
}

QImage makePicture(const QByteArray& folder, const QByteArray& name, int side,
                   const ThumbnailCache& thumbnails) {
    return makePicture(folder, name, pictureKindOf(name), side, thumbnails);
}

QImage makePicture(const QByteArray& folder, const QByteArray& name, PictureKind kind, int side,
                   const ThumbnailCache& thumbnails) {
    if (kind == PictureKind::None || side <= 0) {
        return {};
    }
    const QByteArray path = folder.endsWith('/') ? folder + name : folder + '/' + name;
    UniqueFd file(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!file.valid() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return {};
    }
    // A cached thumbnail smaller than asked is still better than a video's icon, but not
    // than an image's own pixels.
    const QImage cached = thumbnails.find(path, status.st_mtime, side,
                                          kind == PictureKind::Video ? SmallerThumbnail::Accepted
                                                                     : SmallerThumbnail::Refused);
    if (!cached.isNull()) {
        return fitted(cached, side);
    }
    if (kind == PictureKind::Video) {
        return {};
    }
    const QImage image = imagePicture(file, side);
    return image.isNull() ? image : fitted(image, side);
}

} // namespace brindleaf
