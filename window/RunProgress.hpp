#pragma once

#include "engine/Execution.hpp"

#include <QElapsedTimer>
#include <QProgressDialog>

namespace brindleaf {

// Shows a run's progress once it has taken longer than half a second, keeps the window
// painting while it runs, and stops the run when the user cancels.
class RunProgress final : public RunObserver {
public:
    explicit RunProgress(QWidget* parent);
    bool proceed(std::size_t movesDone, std::size_t movesTotal) override;

private:
    QProgressDialog dialog_;
    QElapsedTimer sinceUpdate_;
};

} // namespace brindleaf
