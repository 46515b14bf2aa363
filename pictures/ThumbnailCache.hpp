#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>

namespace brindleaf {

// The URI the thumbnail standard names a local file by: "file://" and its absolute path,
// whose bytes are escaped as GLib escapes them, since the thumbnailers that fill the shared
// cache name files through GLib. The path is bytes, and so is its URI.
[[nodiscard]] QByteArray thumbnailUri(const QByteArray& absolutePath);

// Where file managers keep the thumbnails they made: $XDG_CACHE_HOME/thumbnails, or
// ~/.cache/thumbnails.
[[nodiscard]] QByteArray defaultThumbnailFolder();

// Which thumbnail to take when none is as large as asked.
enum class SmallerThumbnail { Refused, Accepted };

// The thumbnails file managers made, read where they keep them and never written: each is a
// PNG image named by the MD5 of its file's URI, in a folder for each size, and holds for that
// file only while its Thumb::URI and Thumb::MTime say so.
class ThumbnailCache {
public:
    explicit ThumbnailCache(QByteArray folder) : folder_(std::move(folder)) {}

    // The thumbnail of the file at `absolutePath`, last modified at `modifiedSeconds` (seconds
    // since the epoch), whose longer side is meant to be at least `side` pixels: the smallest
    // size that is, else, when `smaller` allows, a smaller one. Null when none is cached, or
    // when each one found was made for another file or an earlier state of this one.
    [[nodiscard]] QImage find(const QByteArray& absolutePath, std::int64_t modifiedSeconds,
                              int side, SmallerThumbnail smaller = SmallerThumbnail::Refused) const;

    [[nodiscard]] const QByteArray& folder() const { return folder_; }

private:
    QByteArray folder_;
};

} // namespace brindleaf
