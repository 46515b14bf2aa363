#include "window/PictureTip.hpp"

#include <QPainter>

#include <algorithm>

namespace brindleaf {

namespace {

constexpr int border = 4;

} // namespace

PictureTip::PictureTip(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pictureTip"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void PictureTip::setPicture(QImage picture) {
    picture_ = std::move(picture);
    const QSize shown = picture_.deviceIndependentSize().toSize();
    resize(shown + QSize(2 * border, 2 * border));
    update();
}

void PictureTip::placeBeside(const QRect& row, const QRect& area, bool atLeft) {
    const int x = atLeft ? area.left() + border : area.right() - width() - border + 1;
    const int centred = row.center().y() - height() / 2;
    const int y = std::clamp(centred, area.top(), std::max(area.top(), area.bottom() - height()));
    move(x, y);
}

void PictureTip::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!picture_.isNull()) {
        QPainter painter(this);
        const QSize shown = picture_.deviceIndependentSize().toSize();
        painter.drawImage(
            QRect(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown),
            picture_);
    }
}

} // namespace brindleaf
