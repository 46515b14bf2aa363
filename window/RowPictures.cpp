#include "window/RowPictures.hpp"

#include "session/PreviewModel.hpp"
#include "window/PictureTip.hpp"
#include "window/PreviewRowDelegate.hpp"

#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>

#include <cmath>

namespace brindleaf {

RowPictures::RowPictures(QListView* list, QByteArray thumbnailFolder)
    : QObject(list), list_(list), source_(std::move(thumbnailFolder)), tip_(new PictureTip(list)) {
    // Requests made in one turn of the event loop, as while a scroll bar is dragged, are
    // sent as one.
    requestTimer_.setSingleShot(true);
    requestTimer_.setInterval(0);
    connect(&requestTimer_, &QTimer::timeout, this, &RowPictures::request);
    connect(&source_, &PictureSource::pictureMade, this, &RowPictures::made);
    connect(list_->verticalScrollBar(), &QScrollBar::valueChanged, this, &RowPictures::requestSoon);
    connect(list_->model(), &QAbstractItemModel::modelReset, this, [this] {
        // The entries may no longer be the files they were under their names.
        source_.forget();
        hovered_ = QPersistentModelIndex();
        requestSoon();
    });
    connect(list_->model(), &QAbstractItemModel::layoutChanged, this, &RowPictures::requestSoon);
    connect(list_->model(), &QAbstractItemModel::rowsInserted, this, &RowPictures::requestSoon);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &RowPictures::requestSoon);
    list_->viewport()->installEventFilter(this);
    list_->installEventFilter(this);
    if (auto* rows = qobject_cast<PreviewRowDelegate*>(list_->itemDelegate())) {
        rows->setPictures(this);
    }
}

RowPictures::~RowPictures() = default;

void RowPictures::setShown(bool shown) {
    if (shown_ == shown) {
        return;
    }
    shown_ = shown;
    list_->viewport()->setMouseTracking(shown);
    // The rows change height.
    list_->doItemsLayout();
    if (!shown) {
        requestTimer_.stop();
        source_.request({});
        tip_->hide();
    } else {
        requestSoon();
    }
}

void RowPictures::setFolder(QByteArray path) {
    // The shared thumbnails are named by absolute paths.
    if (!path.isEmpty() && !path.startsWith('/')) {
        path = QFile::encodeName(QDir::currentPath()) + '/' + path;
    }
    source_.setFolder(std::move(path));
    requestSoon();
}

QByteArray RowPictures::nameOf(int row) const {
    return list_->model()->index(row, 0).data(PreviewModel::NameBytesRole).toByteArray();
}

PictureKind RowPictures::kindOf(const QModelIndex& index) const {
    if (index.data(PreviewModel::IsFolderRole).toBool()) {
        return PictureKind::None;
    }
    return pictureKindOf(nameOf(index.row()));
}

int RowPictures::sideInPixels(int side) const {
    return static_cast<int>(std::lround(side * list_->devicePixelRatioF()));
}

std::optional<QImage> RowPictures::pictureOf(const QModelIndex& index) {
    auto picture = source_.picture(nameOf(index.row()), sideInPixels(pictureSide));
    if (picture && !picture->isNull()) {
        picture->setDevicePixelRatio(list_->devicePixelRatioF());
    }
    return picture;
}

void RowPictures::requestSoon() {
    if (shown_) {
        requestTimer_.start();
    }
}

// The rows on screen first, then the picture shown larger, then a screen of rows below.
void RowPictures::request() {
    const int rows = list_->model()->rowCount();
    const QRect area = list_->viewport()->rect();
    std::vector<PictureKey> keys;
    if (rows > 0 && shown_) {
        const QModelIndex top = list_->indexAt(area.topLeft());
        const QModelIndex bottom = list_->indexAt(QPoint(area.left(), area.bottom()));
        const int first = top.isValid() ? top.row() : 0;
        const int last = bottom.isValid() ? bottom.row() : rows - 1;
        const int ahead = std::min(rows - 1, last + (last - first + 1));
        const int side = sideInPixels(pictureSide);
        const auto add = [&](int from, int to) {
            for (int row = from; row <= to; ++row) {
                if (kindOf(list_->model()->index(row, 0)) != PictureKind::None) {
                    keys.push_back({nameOf(row), side});
                }
            }
        };
        add(first, last);
        if (const QModelIndex large = tipRow();
            large.isValid() && kindOf(large) != PictureKind::None) {
            keys.push_back({nameOf(large.row()), sideInPixels(tipSide)});
        }
        add(last + 1, ahead);
    }
    source_.request(keys);
    showTip();
}

void RowPictures::made(const QByteArray& name, int side) {
    if (!shown_) {
        return;
    }
    if (side == sideInPixels(tipSide)) {
        showTip();
        return;
    }
    const QRect area = list_->viewport()->rect();
    const QModelIndex top = list_->indexAt(area.topLeft());
    const QModelIndex bottom = list_->indexAt(QPoint(area.left(), area.bottom()));
    if (!top.isValid()) {
        return;
    }
    const int last = bottom.isValid() ? bottom.row() : list_->model()->rowCount() - 1;
    for (int row = top.row(); row <= last; ++row) {
        if (nameOf(row) == name) {
            list_->viewport()->update(list_->visualRect(list_->model()->index(row, 0)));
        }
    }
}

QModelIndex RowPictures::tipRow() const {
    if (hovered_.isValid()) {
        return hovered_;
    }
    return list_->hasFocus() ? list_->currentIndex() : QModelIndex();
}

void RowPictures::hover(const QPoint& position) {
    const QModelIndex under = list_->indexAt(position);
    pointerAtLeft_ = position.x() < list_->viewport()->width() / 2;
    if (under != hovered_) {
        hovered_ = under;
        requestSoon();
    }
}

void RowPictures::showTip() {
    const QModelIndex row = tipRow();
    const auto picture = shown_ && row.isValid() && kindOf(row) != PictureKind::None
                             ? source_.picture(nameOf(row.row()), sideInPixels(tipSide))
                             : std::nullopt;
    if (!picture || picture->isNull()) {
        tip_->hide();
        return;
    }
    QImage shown = *picture;
    shown.setDevicePixelRatio(list_->devicePixelRatioF());
    tip_->setPicture(std::move(shown));
    const QRect area = list_->viewport()->geometry();
    const QRect rowRect = list_->visualRect(row).translated(area.topLeft());
    // Away from the pointer, so that the rows it points at stay in sight.
    tip_->placeBeside(rowRect, area, hovered_.isValid() && !pointerAtLeft_);
    tip_->show();
    tip_->raise();
}

bool RowPictures::eventFilter(QObject* watched, QEvent* event) {
    if (!shown_) {
        return false;
    }
    if (watched == list_->viewport()) {
        switch (event->type()) {
        case QEvent::MouseMove:
            hover(static_cast<QMouseEvent*>(event)->position().toPoint());
            break;
        case QEvent::Leave:
            hovered_ = QPersistentModelIndex();
            requestSoon();
            break;
        case QEvent::Resize:
            requestSoon();
            break;
        default:
            break;
        }
    } else if (watched == list_ &&
               (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        requestSoon();
    }
    return false;
}

} // namespace brindleaf
