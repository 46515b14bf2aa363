#include "window/PreviewRowDelegate.hpp"

#include "session/PreviewModel.hpp"
#include "window/PreviewListView.hpp"
#include "window/RowPictures.hpp"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>

#include <algorithm>

namespace brindleaf {

namespace {

constexpr int rowPadding = 3;

} // namespace

PreviewRowDelegate::PreviewRowDelegate(const QHeaderView* columns, QObject* parent)
    : QStyledItemDelegate(parent), columns_(columns) {}

void PreviewRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    const QString original = index.data(PreviewModel::OriginalRole).toString();
    const QString renamed = index.data(PreviewModel::RenamedRole).toString();
    const bool isFolder = index.data(PreviewModel::IsFolderRole).toBool();
    const bool isHidden = original.startsWith(QLatin1Char('.'));
    const bool isLeftOut = index.data(PreviewModel::IsLeftOutRole).toBool();
    const QString date = index.data(PreviewModel::DateRole).toString();

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 2;
    const int split = columns_->sectionViewportPosition(1);
    QRect left(item.rect.left() + margin, item.rect.top(), split - 2 * margin, item.rect.height());
    const auto splitAt = [&](int column, int otherwise) {
        return columns_->isSectionHidden(column) ? otherwise
                                                 : columns_->sectionViewportPosition(column);
    };
    const int cameraSplit = splitAt(PreviewListView::cameraColumn, item.rect.width());
    const int dateSplit = splitAt(PreviewListView::dateColumn, cameraSplit);
    const QRect right(item.rect.left() + split + margin, item.rect.top(),
                      dateSplit - split - 2 * margin, item.rect.height());
    const QRect dateRect(item.rect.left() + dateSplit + margin, item.rect.top(),
                         cameraSplit - dateSplit - 2 * margin, item.rect.height());
    const QRect cameraRect(item.rect.left() + cameraSplit + margin, item.rect.top(),
                           item.rect.right() - cameraSplit - 2 * margin, item.rect.height());

    painter->save();
    painter->setFont(item.font);
    if (showsPictures()) {
        paintPicture(painter, item, index, left, margin);
    } else if (isFolder) {
        const int side = item.fontMetrics.height();
        const QIcon icon = style->standardIcon(QStyle::SP_DirIcon, nullptr, item.widget);
        icon.paint(painter,
                   QRect(left.left(), left.top() + (left.height() - side) / 2, side, side));
        left.setLeft(left.left() + side + margin);
    }
    const QColor dimmed = item.palette.color(QPalette::Disabled, QPalette::Text);
    const QColor plain = item.palette.color(QPalette::Active, QPalette::Text);
    painter->setPen(isHidden || isLeftOut ? dimmed : plain);
    painter->drawText(left, Qt::AlignLeft | Qt::AlignVCenter,
                      item.fontMetrics.elidedText(original, Qt::ElideRight, left.width()));
    // An entry left out keeps its name: no new name is shown.
    if (!isLeftOut) {
        painter->setPen(plain);
        painter->drawText(right, Qt::AlignLeft | Qt::AlignVCenter,
                          item.fontMetrics.elidedText(renamed, Qt::ElideRight, right.width()));
    }
    if (!date.isEmpty() && !columns_->isSectionHidden(PreviewListView::dateColumn)) {
        // A modified time standing in for a missing date taken is dimmed; its text says so.
        const bool fellBack = index.data(PreviewModel::DateFellBackRole).toBool();
        painter->setPen(fellBack ? dimmed : plain);
        painter->drawText(dateRect, Qt::AlignLeft | Qt::AlignVCenter,
                          item.fontMetrics.elidedText(date, Qt::ElideRight, dateRect.width()));
    }
    if (!columns_->isSectionHidden(PreviewListView::cameraColumn)) {
        painter->setPen(plain);
        const QString camera = index.data(PreviewModel::CameraRole).toString();
        painter->drawText(cameraRect, Qt::AlignLeft | Qt::AlignVCenter,
                          item.fontMetrics.elidedText(camera, Qt::ElideRight, cameraRect.width()));
    }
    painter->restore();
}

bool PreviewRowDelegate::showsPictures() const {
    return pictures_ != nullptr && pictures_->isShown();
}

void PreviewRowDelegate::paintPicture(QPainter* painter, const QStyleOptionViewItem& item,
                                      const QModelIndex& index, QRect& left, int margin) const {
    const int side = RowPictures::pictureSide;
    const QRect box(left.left(), left.top() + (left.height() - side) / 2, side, side);
    left.setLeft(box.right() + 1 + margin);
    if (pictures_->kindOf(index) != PictureKind::None) {
        if (const auto picture = pictures_->pictureOf(index); picture && !picture->isNull()) {
            const QSize shown = picture->deviceIndependentSize().toSize();
            painter->drawImage(QRect(box.topLeft() + QPoint((side - shown.width()) / 2,
                                                            (side - shown.height()) / 2),
                                     shown),
                               *picture);
            return;
        }
    }
    // Until its picture comes, and when it has none, an entry shows what it is.
    const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    const bool isFolder = index.data(PreviewModel::IsFolderRole).toBool();
    const QIcon icon = style->standardIcon(isFolder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon,
                                           nullptr, item.widget);
    const int iconSide = side / 2;
    icon.paint(painter,
               QRect(box.center() - QPoint(iconSide / 2, iconSide / 2), QSize(iconSide, iconSide)));
}

int PreviewRowDelegate::rowHeight(const QFontMetrics& metrics) {
    return metrics.height() + 2 * rowPadding;
}

QSize PreviewRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    // Every row is as wide as the columns and as tall as the font needs.
    const int height = rowHeight(option.fontMetrics);
    return {columns_->length(),
            showsPictures() ? std::max(height, RowPictures::rowHeight) : height};
}

} // namespace brindleaf
