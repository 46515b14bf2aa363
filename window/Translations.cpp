#include "window/Translations.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace brindleaf {

void installTranslations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    const QString folder = QStringLiteral(":/i18n");
    if (translator->load(QLocale(), QStringLiteral("brindleaf"), QStringLiteral("_"), folder) ||
        translator->load(QStringLiteral("brindleaf_en"), folder)) {
        QCoreApplication::installTranslator(translator);
    }
    // Qt's own texts: Cancel, and the folder chooser's buttons and labels.
    auto* qtTexts = new QTranslator(&application);
    if (qtTexts->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qtTexts);
    }
}

} // namespace brindleaf
