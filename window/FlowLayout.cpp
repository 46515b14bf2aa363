#include "window/FlowLayout.hpp"

#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace brindleaf {

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0)) {
        delete item;
    }
}

void FlowLayout::addItem(QLayoutItem* item) {
    items_.append(item);
}

QLayoutItem* FlowLayout::itemAt(int index) const {
    return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int FlowLayout::heightForWidth(int width) const {
    return arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::minimumSize() const {
    QSize size;
    for (const QLayoutItem* item : items_) {
        size = size.expandedTo(item->minimumSize());
    }
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect& rect, bool place) const {
    if (items_.isEmpty()) {
        return 0;
    }
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int gap =
        spacing() >= 0
            ? spacing()
            : (parentWidget() != nullptr
                   ? parentWidget()->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing)
                   : 6);
    const int lineGap = std::max(gap, 2);
    int top = area.top();
    for (qsizetype first = 0; first < items_.size();) {
        // Gather the items of one line, then centre them.
        int lineWidth = 0;
        int lineHeight = 0;
        qsizetype last = first;
        for (; last < items_.size(); ++last) {
            const QSize hint = items_.at(last)->sizeHint();
            const int widthWith = lineWidth + (last > first ? gap : 0) + hint.width();
            if (last > first && widthWith > area.width()) {
                break;
            }
            lineWidth = widthWith;
            lineHeight = std::max(lineHeight, hint.height());
        }
        if (place) {
            int left = area.left() + std::max(0, (area.width() - lineWidth) / 2);
            for (qsizetype i = first; i < last; ++i) {
                const QSize hint = items_.at(i)->sizeHint();
                const int width = std::min(hint.width(), area.width());
                items_.at(i)->setGeometry(
                    QRect(left, top + (lineHeight - hint.height()) / 2, width, hint.height()));
                left += width + gap;
            }
        }
        top += lineHeight + lineGap;
        first = last;
    }
    return top - lineGap - rect.top() + contentsMargins().bottom();
}

} // namespace brindleaf
