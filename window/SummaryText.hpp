#pragma once

#include <QCoreApplication>
#include <QString>

namespace brindleaf {

struct SessionState;

// The line under the preview that counts what it shows, in the window's language.
class SummaryText {
    Q_DECLARE_TR_FUNCTIONS(brindleaf::ContentView)

public:
    // Empty while no folder is shown. `changesExtensions` says whether some files get
    // another extension, which the line shows as a warning.
    static QString of(const SessionState& state, bool& changesExtensions);
    static QString datesRead(std::size_t done, std::size_t total);
};

} // namespace brindleaf
