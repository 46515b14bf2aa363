#include "window/PreviewRowDelegate.hpp"

#include <QApplication>
#include <QPainter>
#include <QTextOption>

namespace brindleaf {

namespace {

QTextOption rowTextOption(const QFontMetrics& metrics) {
    QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(PreviewRowDelegate::tabStopDistance(metrics));
    return option;
}

} // namespace

qreal PreviewRowDelegate::tabStopDistance(const QFontMetrics& metrics) {
    return 2 * metrics.horizontalAdvance(QLatin1Char(' '));
}

void PreviewRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(QPalette::Text));
    painter->drawText(QRectF(textRect), text, rowTextOption(item.fontMetrics));
    painter->restore();
}

QSize PreviewRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QFontMetrics& metrics = item.fontMetrics;
    const int width = metrics.horizontalAdvance(item.text, rowTextOption(metrics)) +
                      2 * metrics.averageCharWidth();
    return {width, QStyledItemDelegate::sizeHint(option, index).height()};
}

} // namespace brindleaf
