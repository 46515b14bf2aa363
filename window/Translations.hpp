#pragma once

class QCoreApplication;

namespace brindleaf {

// Installs the display texts for the system's language, or the English ones when there are
// none for it, so the label keys never show through for a supported language.
void installTranslations(QCoreApplication& application);

} // namespace brindleaf
