#pragma once

#include <QLabel>

namespace brindleaf {

// Shows a path on one line, shortened in the middle when it does not fit, so that the
// folder's own name at its end stays in view. text() stays the whole path.
class PathLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace brindleaf
