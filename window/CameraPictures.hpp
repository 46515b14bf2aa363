#pragma once

#include "pictures/PictureSource.hpp"
#include "pictures/ThumbnailCache.hpp"

#include <QByteArray>
#include <QHash>
#include <QIcon>
#include <QObject>

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace brindleaf {

// Tells whether an entry would show a picture of its own whatever the shared thumbnails
// hold, by its name: a photo or other image, not a video. The MIME database is asked once
// for each extension, as a folder's entries share a few.
class ImageNames {
public:
    [[nodiscard]] bool operator()(std::string_view name);

private:
    QHash<QByteArray, bool> byExtension_;
};

// One picture for each camera of the camera list: that of the entry it is recognised by,
// made on the picture source's threads. Until it comes, and when there is none, as for a
// video no file manager made a thumbnail of, the camera shows a placeholder icon.
class CameraPictures : public QObject {
    Q_OBJECT

public:
    // Each picture fits a square of this side; the list's rows are a little taller.
    static constexpr int pictureSide = 64;

    CameraPictures(QIcon placeholder, QByteArray thumbnailFolder = defaultThumbnailFolder(),
                   QObject* parent = nullptr);

    // Shows, for each camera by its name, the picture of its entry of that name in the folder
    // at `folder` (a relative path is taken from the current folder), `pixelRatio` device
    // pixels to a pixel. Pictures made already are kept.
    void show(QByteArray folder, std::map<std::string, std::string, std::less<>> entries,
              qreal pixelRatio);
    // Forgets every picture made: the files may have changed under their names.
    void forget();

    // The camera's picture as an icon, else the placeholder.
    [[nodiscard]] QIcon iconOf(const std::string& camera);
    // Whether the camera's picture is made and is one, not the placeholder.
    [[nodiscard]] bool hasPicture(const std::string& camera);
    // Whether the making of the camera's picture is over, whether or not it gave one.
    [[nodiscard]] bool isMade(const std::string& camera);

signals:
    void pictureMade(const std::string& camera);

private:
    [[nodiscard]] int sideInPixels() const;
    void made(const QByteArray& name, int side);

    QIcon placeholder_;
    PictureSource source_;
    QByteArray folder_;
    std::map<std::string, std::string, std::less<>> entries_;
    qreal pixelRatio_ = 1.0;
    // The icons of the pictures made, by entry name: an icon is made once, not at each paint.
    QHash<QByteArray, QIcon> icons_;
};

} // namespace brindleaf
