#include "window/PreviewListView.hpp"

#include "session/DateText.hpp"
#include "window/PreviewRowDelegate.hpp"

#include <QHeaderView>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyle>

#include <algorithm>

namespace brindleaf {

PreviewListView::PreviewListView(QWidget* parent)
    : QListView(parent), columns_(new QHeaderView(Qt::Horizontal, this)) {
    auto* titles = new QStandardItemModel(0, 4, this);
    titles->setHorizontalHeaderLabels(
        {tr("Current name"), tr("New name"), tr("Date numbered by"), tr("Camera")});
    columns_->setObjectName(QStringLiteral("previewColumns"));
    columns_->setModel(titles);
    columns_->setStretchLastSection(true);
    columns_->setSectionsClickable(false);
    columns_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(columns_, &QHeaderView::sectionResized, this, [this] { viewport()->update(); });
    connect(columns_, &QHeaderView::sectionHandleDoubleClicked, this,
            [this] { columnsResizedByUser_ = false; });
    connect(columns_, &QHeaderView::sectionPressed, this, [this] { columnsResizedByUser_ = true; });
    columns_->setSectionHidden(dateColumn, true);
    columns_->setSectionHidden(cameraColumn, true);
    setViewportMargins(0, columns_->sizeHint().height(), 0, 0);
    setItemDelegate(new PreviewRowDelegate(columns_, this));
    // The columns always share the viewport's width, and the titles above them never scroll:
    // rows wider than the viewport would only be cut off under a scroll bar.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every row has the same height: the view never has to measure a million rows.
    setUniformItemSizes(true);
    // Laying out a million rows at once holds the event loop for tens of milliseconds; in
    // batches, the first rows show at once and input is served between batches.
    setLayoutMode(QListView::Batched);
    setBatchSize(20'000);
}

int PreviewListView::heightForRows(int rows) const {
    return columns_->sizeHint().height() + rows * PreviewRowDelegate::rowHeight(fontMetrics()) +
           2 * frameWidth();
}

void PreviewListView::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    const QRect area = viewport()->geometry();
    columns_->setGeometry(area.left(), area.top() - columns_->sizeHint().height(), area.width(),
                          columns_->sizeHint().height());
    shareWidth();
}

void PreviewListView::shareWidth() {
    // The dates take the width their longest text needs and a camera that of a name of some
    // length, each within a share of the width; old and new names share the rest, until the
    // user moves a line between the columns.
    if (columnsResizedByUser_) {
        return;
    }
    const int width = viewport()->width();
    const int padding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 12;
    const bool showsDates = !columns_->isSectionHidden(dateColumn);
    const bool showsCameras = !columns_->isSectionHidden(cameraColumn);
    const UsedDate longest{0, 0, DateSource::Corrected, false};
    const int dates = showsDates ? std::min(width / 3, fontMetrics().horizontalAdvance(
                                                           DateText::shown(longest, Order::Taken) +
                                                           QStringLiteral(".00")) +
                                                           padding)
                                 : 0;
    const int cameras = showsCameras ? std::min(width / 6, fontMetrics().horizontalAdvance(
                                                               QStringLiteral("Canon EOS R6 #00")) +
                                                               padding)
                                     : 0;
    const int names = (width - dates - cameras) / 2;
    columns_->resizeSection(0, names);
    columns_->resizeSection(1, names);
    if (showsCameras) {
        columns_->resizeSection(dateColumn, dates);
    }
}

void PreviewListView::setShowsDates(bool shows) {
    showColumn(dateColumn, shows);
}

void PreviewListView::setShowsCameras(bool shows) {
    showColumn(cameraColumn, shows);
}

void PreviewListView::showColumn(int column, bool shows) {
    if (columns_->isSectionHidden(column) == shows) {
        columns_->setSectionHidden(column, !shows);
        shareWidth();
        viewport()->update();
    }
}

void PreviewListView::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    if (model() != nullptr && model()->rowCount() > 0) {
        return;
    }
    // An empty preview says where a folder comes from.
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextWordWrap, emptyHint());
}

QString PreviewListView::emptyHint() const {
    if (renaming_) {
        return tr("Renaming…");
    }
    if (loading_) {
        return tr("Reading the folder…");
    }
    return folderShown_ ? tr("This folder is empty") : tr("Drop a folder here");
}

void PreviewListView::setLoading(bool loading) {
    if (loading_ == loading) {
        return;
    }
    loading_ = loading;
    if (loading) {
        viewport()->setCursor(Qt::BusyCursor);
    } else {
        viewport()->unsetCursor();
    }
    viewport()->update();
}

void PreviewListView::setRenaming(bool renaming) {
    if (renaming_ != renaming) {
        renaming_ = renaming;
        viewport()->update();
    }
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
