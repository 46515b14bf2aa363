#include "platform/HeapArenas.hpp"
#include "window/ContentView.hpp"
#include "window/Translations.hpp"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    brindleaf::shareOneHeapAcrossThreads();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brindleaf"));
    QApplication::setDesktopFileName(QStringLiteral("brindleaf"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/brindleaf.svg")));
    brindleaf::installTranslations(application);

    brindleaf::ContentView window;
    window.show();
    return QApplication::exec();
}
