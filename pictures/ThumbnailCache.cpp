#include "pictures/ThumbnailCache.hpp"

#include "pictures/FileOpening.hpp"

#include <QCryptographicHash>
#include <QFile>
#include <QImageReader>
#include <QtGlobal>

#include <array>
#include <string_view>

namespace brindleaf {

namespace {

// The characters GLib leaves as they are in a file URI's path.
bool keptInUri(unsigned char byte) {
    constexpr std::string_view kept = "!$&'()*+,-./:=@_~";
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9') || kept.find(static_cast<char>(byte)) != kept.npos;
}

struct SizeFolder {
    const char* name;
    int side;
};

// The sizes the standard names, smallest first.
constexpr std::array<SizeFolder, 2> sizeFolders{{{"normal", 128}, {"large", 256}}};

bool holdsFor(const QString& uri, const QString& modified, const QByteArray& expectedUri,
              std::int64_t modifiedSeconds) {
    bool isNumber = false;
    const qint64 seconds = modified.trimmed().toLongLong(&isNumber);
    return isNumber && seconds == modifiedSeconds && uri == QLatin1String(expectedUri);
}

// The thumbnail at `path` when it was made for the file named `uri` as it is now. Its keys
// are read before its pixels, which only a valid thumbnail needs decoded.
QImage validThumbnail(const QByteArray& path, const QByteArray& uri, std::int64_t modified) {
    QFile file;
    if (!openForReading(path, file)) {
        return {};
    }
    QImageReader reader(&file, "png");
    const QString uriKey = QStringLiteral("Thumb::URI");
    const QString modifiedKey = QStringLiteral("Thumb::MTime");
    QString writtenUri = reader.text(uriKey);
    QString writtenModified = reader.text(modifiedKey);
    QImage image;
    if (writtenUri.isEmpty() || writtenModified.isEmpty()) {
        // Keys written after the pixels are only read with them.
        image = reader.read();
        writtenUri = image.text(uriKey);
        writtenModified = image.text(modifiedKey);
    }
    if (!holdsFor(writtenUri, writtenModified, uri, modified)) {
        return {};
    }
    return image.isNull() ? reader.read() : image;
}

} // namespace

QByteArray thumbnailUri(const QByteArray& absolutePath) {
    constexpr std::string_view hex = "0123456789ABCDEF";
    QByteArray uri("file://");
    uri.reserve(uri.size() + absolutePath.size() * 3);
    for (const char character : absolutePath) {
        const auto byte = static_cast<unsigned char>(character);
        if (keptInUri(byte)) {
            uri.append(character);
        } else {
            uri.append('%').append(hex[byte >> 4]).append(hex[byte & 0xF]);
        }
    }
    return uri;
}

QByteArray defaultThumbnailFolder() {
    QByteArray cache = qgetenv("XDG_CACHE_HOME");
    // A relative path is not a valid base folder; the standard says to ignore it.
    if (cache.isEmpty() || !cache.startsWith('/')) {
        cache = qgetenv("HOME") + "/.cache";
    }
    return cache + "/thumbnails";
}

QImage ThumbnailCache::find(const QByteArray& absolutePath, std::int64_t modifiedSeconds, int side,
                            SmallerThumbnail smaller) const {
    const QByteArray uri = thumbnailUri(absolutePath);
    const QByteArray fileName =
        QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex() + ".png";
    const auto lookIn = [&](const SizeFolder& size) {
        return validThumbnail(folder_ + '/' + size.name + '/' + fileName, uri, modifiedSeconds);
    };
    for (const SizeFolder& size : sizeFolders) {
        if (size.side >= side) {
            if (QImage image = lookIn(size); !image.isNull()) {
                return image;
            }
        }
    }
    if (smaller == SmallerThumbnail::Accepted) {
        for (auto size = sizeFolders.rbegin(); size != sizeFolders.rend(); ++size) {
            if (size->side < side) {
                if (QImage image = lookIn(*size); !image.isNull()) {
                    return image;
                }
            }
        }
    }
    return {};
}

} // namespace brindleaf
