#pragma once

#include <QStyledItemDelegate>

class QHeaderView;

namespace brindleaf {

class RowPictures;

// Paints a preview row in the columns of the header above it: the current name, marked
// when it is a folder (an icon) or hidden or left out (greyed), the new name, and the date
// the entry is numbered by and its camera where there are. Row height comes from the font, so
// descenders and underscores are never cut off. While pictures show, each row is tall enough
// for its picture, and every row sets its name beside one: the entry's picture, or its icon.
class PreviewRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    PreviewRowDelegate(const QHeaderView* columns, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override;
    [[nodiscard]] static int rowHeight(const QFontMetrics& metrics);
    // Where the rows' pictures come from; none shows none.
    void setPictures(RowPictures* pictures) { pictures_ = pictures; }

private:
    [[nodiscard]] bool showsPictures() const;
    // Paints the row's picture, or its icon, at the left of `left`, and leaves `left` beside it.
    void paintPicture(QPainter* painter, const QStyleOptionViewItem& item, const QModelIndex& index,
                      QRect& left, int margin) const;

    const QHeaderView* columns_;
    RowPictures* pictures_ = nullptr;
};

} // namespace brindleaf
