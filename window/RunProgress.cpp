#include "window/RunProgress.hpp"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <limits>

namespace brindleaf {

namespace {

constexpr int showAfterMilliseconds = 500;
// Updating the dialog runs the event loop and repaints; ten times a second reads as smooth
// progress without slowing the run.
constexpr int updateEveryMilliseconds = 100;

} // namespace

RunProgress::RunProgress(QWidget* parent) : dialog_(parent) {
    dialog_.setObjectName(QStringLiteral("renameProgress"));
    // Modal, it would block the window, and the window system would drop a close request
    // for it; the window disables its own widgets instead.
    dialog_.setWindowModality(Qt::NonModal);
    dialog_.setMinimumDuration(showAfterMilliseconds);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
}

bool RunProgress::proceed(std::size_t entriesDone, std::size_t entriesTotal) {
    if (!sinceUpdate_.isValid() || sinceUpdate_.elapsed() >= updateEveryMilliseconds) {
        sinceUpdate_.restart();
        constexpr std::size_t largest = std::numeric_limits<int>::max();
        dialog_.setMaximum(static_cast<int>(std::min(entriesTotal, largest)));
        dialog_.setValue(static_cast<int>(std::min(entriesDone, largest)));
        dialog_.setLabelText(
            QCoreApplication::translate("RunProgress", "Renaming… %1 of %2 entries")
                .arg(QLocale().toString(static_cast<qulonglong>(entriesDone)),
                     QLocale().toString(static_cast<qulonglong>(entriesTotal))));
        // A modeless dialog leaves the event loop to its caller: painting, Cancel and close
        // requests are served here.
        QCoreApplication::processEvents();
    }
    return !dialog_.wasCanceled() && !askedToQuit();
}

} // namespace brindleaf
