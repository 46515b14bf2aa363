#pragma once

#include <QLayout>
#include <QList>

namespace brindleaf {

// Lays its items out in lines, left to right, starting a new line where the next item would
// not fit; each line is centred. A row of fields or toggles then wraps in a narrow window, a
// long language or at a large scale, instead of forcing the window wider than the screen.
class FlowLayout : public QLayout {
public:
    FlowLayout() = default;
    ~FlowLayout() override;
    FlowLayout(const FlowLayout&) = delete;
    FlowLayout& operator=(const FlowLayout&) = delete;

    void addItem(QLayoutItem* item) override;
    [[nodiscard]] int count() const override { return static_cast<int>(items_.size()); }
    [[nodiscard]] QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    [[nodiscard]] Qt::Orientations expandingDirections() const override { return {}; }
    [[nodiscard]] bool hasHeightForWidth() const override { return true; }
    [[nodiscard]] int heightForWidth(int width) const override;
    [[nodiscard]] QSize sizeHint() const override { return minimumSize(); }
    [[nodiscard]] QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items within `rect`, or only measures when `place` is false; returns the
    // height used.
    int arrange(const QRect& rect, bool place) const;

    QList<QLayoutItem*> items_;
};

} // namespace brindleaf
