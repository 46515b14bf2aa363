#include "window/RunProgress.hpp"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <limits>

namespace brindleaf {

RunProgress::RunProgress(QWidget* parent) : QProgressDialog(parent) {
    setObjectName(QStringLiteral("renameProgress"));
    setWindowModality(Qt::NonModal);
    setAutoClose(false);
    setAutoReset(false);
    showProgress(0, 0);
    show();
}

void RunProgress::showProgress(std::size_t done, std::size_t total) {
    if (total == 0) {
        // The run lists the folder and writes its journal: a moving bar without a count.
        setRange(0, 0);
        setLabelText(QCoreApplication::translate("RunProgress", "Getting the run ready…"));
        return;
    }
    constexpr std::size_t largest = std::numeric_limits<int>::max();
    setRange(0, static_cast<int>(std::min(total, largest)));
    setValue(static_cast<int>(std::min(done, largest)));
    const QLocale locale;
    setLabelText(QCoreApplication::translate("RunProgress", "Renaming… %1 of %2 entries")
                     .arg(locale.toString(static_cast<qulonglong>(done)),
                          locale.toString(static_cast<qulonglong>(total))));
}

} // namespace brindleaf
