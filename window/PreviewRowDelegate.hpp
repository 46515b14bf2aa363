#pragma once

#include <QStyledItemDelegate>

class QHeaderView;

namespace brindleaf {

// Paints a preview row in the columns of the header above it: the current name, marked
// when it is a folder (an icon) or hidden or left out (greyed), the new name, and the date
// the entry is numbered by and its camera where there are. Row height comes from the font, so
// descenders and underscores are never cut off.
class PreviewRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    PreviewRowDelegate(const QHeaderView* columns, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override;
    [[nodiscard]] static int rowHeight(const QFontMetrics& metrics);

private:
    const QHeaderView* columns_;
};

} // namespace brindleaf
