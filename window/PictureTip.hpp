#pragma once

#include <QFrame>
#include <QImage>

namespace brindleaf {

// A larger picture of one preview row, shown over the list beside the row; it lets every
// click and move of the pointer through to the rows under it.
class PictureTip : public QFrame {
    Q_OBJECT

public:
    explicit PictureTip(QWidget* parent);

    [[nodiscard]] const QImage& picture() const { return picture_; }
    void setPicture(QImage picture);
    // Beside the row at `row` (in the parent's coordinates), at the left or the right edge of
    // `area`, within it as far as it allows.
    void placeBeside(const QRect& row, const QRect& area, bool atLeft);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace brindleaf
