#pragma once

#include "pictures/ThumbnailCache.hpp"

#include <QByteArray>
#include <QImage>

class QIODevice;

namespace brindleaf {

// What picture an entry can have, told by its name alone so that no file is opened for it.
enum class PictureKind {
    None,
    // A photo or other image: its picture is always made, from its own pixels if need be.
    Image,
    // A video, whose picture only the shared thumbnail cache can give: no video is decoded.
    Video,
};

[[nodiscard]] PictureKind pictureKindOf(const QByteArray& name);

// `image` turned upright as EXIF `orientation` (1 to 8) says it was taken.
[[nodiscard]] QImage upright(const QImage& image, int orientation);

// The image `device` holds, decoded at the smallest size that fits a square of `side` pixels
// (JPEG decodes at a half, a quarter or an eighth of its size without reading every pixel)
// and turned upright by its own EXIF orientation. Null when it cannot be decoded.
[[nodiscard]] QImage decodeScaled(QIODevice& device, int side);

// The picture of the entry `name` of the folder at `folder` (absolute, in bytes), fitting a
// square of `side` pixels: from the shared thumbnail cache when it holds a valid one, else
// for an image from the preview its metadata carries when that is large enough, else from
// its own pixels. Null when there is none to show: not a regular file, a video without a
// cached thumbnail, or an image that cannot be read.
[[nodiscard]] QImage makePicture(const QByteArray& folder, const QByteArray& name, int side,
                                 const ThumbnailCache& thumbnails);
// The same for an entry whose kind is told already: the MIME database that tells it is
// shared behind one lock, which a thread that makes pictures had better not hold while the
// window's waits for it.
[[nodiscard]] QImage makePicture(const QByteArray& folder, const QByteArray& name, PictureKind kind,
                                 int side, const ThumbnailCache& thumbnails);

} // namespace brindleaf
