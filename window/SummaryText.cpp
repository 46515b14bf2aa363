#include "window/SummaryText.hpp"

#include "session/NameText.hpp"
#include "session/SessionState.hpp"

#include <QLocale>
#include <QStringList>

namespace brindleaf {

QString SummaryText::of(const SessionState& state, bool& changesExtensions) {
    changesExtensions = false;
    if (!state.folderShown) {
        return {};
    }
    const ListingSummary& summary = state.summary;
    const std::size_t changes = state.extensionChanges;
    changesExtensions = changes > 0;
    QStringList parts{tr("%Ln entries", nullptr, countForText(summary.entries))};
    if (changes > 0) {
        parts.append(tr("%Ln change extension", nullptr, countForText(changes)));
    }
    if (summary.folders > 0) {
        parts.append(tr("%Ln folders", nullptr, countForText(summary.folders)));
    }
    if (summary.hidden > 0) {
        parts.append(tr("%Ln hidden", nullptr, countForText(summary.hidden)));
    }
    if (state.leftOut > 0) {
        parts.append(tr("%Ln left out", nullptr, countForText(state.leftOut)));
    }
    if (state.withoutDateTaken > 0) {
        parts.append(tr("%Ln without a date taken", nullptr, countForText(state.withoutDateTaken)));
    }
    if (state.inComputerZone > 0) {
        parts.append(tr("%Ln photos from a camera without a time zone, read as this computer's",
                        nullptr, countForText(state.inComputerZone)));
    }
    if (summary.entries > 0 && !state.nameCheck.changesNames) {
        parts.append(tr("every entry already has its new name"));
    }
    return parts.join(QStringLiteral(" · "));
}

QString SummaryText::datesRead(std::size_t done, std::size_t total) {
    const QLocale locale;
    return tr("Reading dates… %1 of %2")
        .arg(locale.toString(static_cast<qulonglong>(done)),
             locale.toString(static_cast<qulonglong>(total)));
}

} // namespace brindleaf
