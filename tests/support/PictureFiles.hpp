#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

#include <cstdint>
#include <string>

namespace brindleaf::testing {

// An image of one colour.
QImage filled(QSize size, Qt::GlobalColor color);

// An image whose top left quarter is red, top right quarter green and bottom half blue, so
// that every turn and mirror of it looks different.
QImage quarters(QSize size);

// Writes `image` as a JPEG to `path` with the EXIF `orientation` (1 to 8), and `thumbnail`
// as its EXIF thumbnail when given.
void writeJpeg(const std::string& path, const QImage& image, int orientation = 1,
               const QImage& thumbnail = {});

// Writes `image` as a thumbnail PNG to `path`, saying it was made for the file named `uri`
// as it was at `modifiedSeconds`; without either key when it is empty or negative.
void writeThumbnail(const std::string& path, const QImage& image, const QByteArray& uri,
                    std::int64_t modifiedSeconds);

// The colour closest to `color` of red, green and blue: JPEG blurs colours a little.
enum class Primary { Red, Green, Blue };
Primary primaryOf(QColor color);

} // namespace brindleaf::testing
