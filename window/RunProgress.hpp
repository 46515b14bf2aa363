#pragma once

#include "engine/RunObserver.hpp"
#include "platform/InterruptSignals.hpp"

#include <QElapsedTimer>
#include <QProgressDialog>

namespace brindleaf {

// Shows a run's progress once it has taken longer than half a second, keeps the window
// painting while it runs, and stops the run when the user cancels, when the window is asked
// to close, or when SIGINT, SIGTERM or SIGHUP arrives (a logout): every name then goes back
// before anything else happens.
class RunProgress final : public RunObserver {
public:
    explicit RunProgress(QWidget* parent);
    bool proceed(std::size_t entriesDone, std::size_t entriesTotal) override;

    void requestStop() { stopRequested_ = true; }
    // A signal or a close asked the application to end once the run is over.
    [[nodiscard]] bool askedToQuit() const {
        return stopRequested_ || interrupts_.signalReceived() != 0;
    }
    // The signal that stopped the run, or 0.
    [[nodiscard]] int signalReceived() const { return interrupts_.signalReceived(); }

private:
    InterruptGuard interrupts_;
    QProgressDialog dialog_;
    QElapsedTimer sinceUpdate_;
    bool stopRequested_ = false;
};

} // namespace brindleaf
