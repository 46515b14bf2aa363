#pragma once

#include <QStyledItemDelegate>

namespace brindleaf {

// Paints preview rows with narrow tab stops, so the tabs around the arrow leave a small gap
// instead of pushing the new name out of view.
class PreviewRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override;

    // The distance between two tab stops for a font: two spaces wide.
    [[nodiscard]] static qreal tabStopDistance(const QFontMetrics& metrics);
};

} // namespace brindleaf
