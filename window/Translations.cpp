#include "window/Translations.hpp"

#include <QCoreApplication>
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
}

} // namespace brindleaf
