#pragma once

#include <QProgressDialog>

#include <cstddef>

namespace brindleaf {

// Shows a run's progress from the moment it starts. It blocks no window: the window system
// drops a close request for a window that a modal dialog blocks, so the window disables its
// own widgets instead. Cancel is the dialog's `canceled` signal.
class RunProgress final : public QProgressDialog {
    Q_OBJECT

public:
    explicit RunProgress(QWidget* parent);

    // `done` of `total` entries have their new names; no total yet while the run gets ready.
    void showProgress(std::size_t done, std::size_t total);
};

} // namespace brindleaf
