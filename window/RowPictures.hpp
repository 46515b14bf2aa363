#pragma once

#include "pictures/PictureMaking.hpp"
#include "pictures/PictureSource.hpp"

#include <QImage>
#include <QObject>
#include <QPersistentModelIndex>
#include <QTimer>

#include <optional>

class QListView;

namespace brindleaf {

class PictureTip;

// The pictures of the preview's rows, while they are shown: asked of a picture source for
// the rows on screen and a screen below them, each row repainted as its picture comes, and
// the row under the pointer, or else the current one, shown larger beside the list. Scrolling
// asks again, which drops what the rows scrolled past still waited for.
class RowPictures : public QObject {
    Q_OBJECT

public:
    // Rows are this tall while pictures show; each picture fits a square of pictureSide.
    static constexpr int rowHeight = 64;
    static constexpr int pictureSide = 58;
    // The larger picture fits a square of this side.
    static constexpr int tipSide = 256;

    explicit RowPictures(QListView* list, QByteArray thumbnailFolder = defaultThumbnailFolder());
    ~RowPictures() override;

    [[nodiscard]] bool isShown() const { return shown_; }
    void setShown(bool shown);
    // The folder the rows are entries of, by its path's bytes; a relative one is taken from
    // the current folder.
    void setFolder(QByteArray path);

    // What picture the row's entry can have.
    [[nodiscard]] PictureKind kindOf(const QModelIndex& index) const;
    // The row's picture when made: a null image when it has none; none while it is not made.
    [[nodiscard]] std::optional<QImage> pictureOf(const QModelIndex& index);
    [[nodiscard]] const PictureTip& tip() const { return *tip_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] QByteArray nameOf(int row) const;
    [[nodiscard]] int sideInPixels(int side) const;
    void requestSoon();
    void request();
    void made(const QByteArray& name, int side);
    void hover(const QPoint& position);
    void showTip();
    [[nodiscard]] QModelIndex tipRow() const;

    QListView* list_;
    PictureSource source_;
    PictureTip* tip_;
    QTimer requestTimer_;
    QPersistentModelIndex hovered_;
    bool pointerAtLeft_ = false;
    bool shown_ = false;
};

} // namespace brindleaf
