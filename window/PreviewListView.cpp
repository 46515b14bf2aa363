#include "window/PreviewListView.hpp"

#include "window/PreviewRowDelegate.hpp"

#include <QPainter>

namespace brindleaf {

PreviewListView::PreviewListView(QWidget* parent) : QListView(parent) {
    setItemDelegate(new PreviewRowDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every row has the same height: the view never has to measure a million rows.
    setUniformItemSizes(true);
}

void PreviewListView::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    if (model() != nullptr && model()->rowCount() > 0) {
        return;
    }
    // An empty preview says where a folder comes from.
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextWordWrap,
                     folderShown_ ? tr("This folder is empty") : tr("Drop a folder here"));
}

void PreviewListView::setFolderShown(bool shown) {
    if (folderShown_ != shown) {
        folderShown_ = shown;
        viewport()->update();
    }
}

void PreviewListView::dataChanged(const QModelIndex&, const QModelIndex&, const QList<int>&) {
    // QListView would lay out every row again, and QAbstractItemView would measure every
    // changed row to find the area to repaint; only the visible rows can show the change.
    viewport()->update();
}

} // namespace brindleaf
