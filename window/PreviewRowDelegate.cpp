#include "window/PreviewRowDelegate.hpp"

#include "window/PreviewModel.hpp"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>

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

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 2;
    const int split = columns_->sectionViewportPosition(1);
    QRect left(item.rect.left() + margin, item.rect.top(), split - 2 * margin, item.rect.height());
    const QRect right(item.rect.left() + split + margin, item.rect.top(),
                      item.rect.right() - split - 2 * margin, item.rect.height());

    painter->save();
    painter->setFont(item.font);
    if (isFolder) {
        const int side = item.fontMetrics.height();
        const QIcon icon = style->standardIcon(QStyle::SP_DirIcon, nullptr, item.widget);
        icon.paint(painter,
                   QRect(left.left(), left.top() + (left.height() - side) / 2, side, side));
        left.setLeft(left.left() + side + margin);
    }
    painter->setPen(
        item.palette.color(isHidden ? QPalette::Disabled : QPalette::Active, QPalette::Text));
    painter->drawText(left, Qt::AlignLeft | Qt::AlignVCenter,
                      item.fontMetrics.elidedText(original, Qt::ElideRight, left.width()));
    painter->setPen(item.palette.color(QPalette::Text));
    painter->drawText(right, Qt::AlignLeft | Qt::AlignVCenter,
                      item.fontMetrics.elidedText(renamed, Qt::ElideRight, right.width()));
    painter->restore();
}

QSize PreviewRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    // Every row is as wide as the columns and as tall as the font needs.
    return {columns_->length(), option.fontMetrics.height() + 2 * rowPadding};
}

} // namespace brindleaf
