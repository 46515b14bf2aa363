#include "support/PictureFiles.hpp"

#include <QBuffer>
#include <QPainter>

#include <exiv2/exiv2.hpp>

#include <filesystem>
#include <stdexcept>

namespace brindleaf::testing {

QImage filled(QSize size, Qt::GlobalColor color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QImage quarters(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const int halfWidth = size.width() / 2;
    const int halfHeight = size.height() / 2;
    painter.fillRect(0, 0, halfWidth, halfHeight, Qt::red);
    painter.fillRect(halfWidth, 0, size.width() - halfWidth, halfHeight, Qt::green);
    painter.fillRect(0, halfHeight, size.width(), size.height() - halfHeight, Qt::blue);
    return image;
}

void writeJpeg(const std::string& path, const QImage& image, int orientation,
               const QImage& thumbnail) {
    if (!image.save(QString::fromStdString(path), "JPG", 95)) {
        throw std::runtime_error("cannot write the JPEG " + path);
    }
    const auto file = Exiv2::ImageFactory::open(path);
    file->readMetadata();
    Exiv2::ExifData exif;
    exif["Exif.Image.Orientation"] = static_cast<std::uint16_t>(orientation);
    if (!thumbnail.isNull()) {
        QByteArray encoded;
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        thumbnail.save(&buffer, "JPG", 95);
        Exiv2::ExifThumb(exif).setJpegThumbnail(
            reinterpret_cast<const Exiv2::byte*>(encoded.constData()),
            static_cast<long>(encoded.size()));
    }
    file->setExifData(exif);
    file->writeMetadata();
}

void writeThumbnail(const std::string& path, const QImage& image, const QByteArray& uri,
                    std::int64_t modifiedSeconds) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    QImage keyed = image;
    if (!uri.isEmpty()) {
        keyed.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(uri));
    }
    if (modifiedSeconds >= 0) {
        keyed.setText(QStringLiteral("Thumb::MTime"), QString::number(modifiedSeconds));
    }
    if (!keyed.save(QString::fromStdString(path), "PNG")) {
        throw std::runtime_error("cannot write the thumbnail " + path);
    }
}

Primary primaryOf(QColor color) {
    if (color.red() >= color.green() && color.red() >= color.blue()) {
        return Primary::Red;
    }
    return color.green() >= color.blue() ? Primary::Green : Primary::Blue;
}

} // namespace brindleaf::testing
