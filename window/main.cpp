#include "platform/HeapArenas.hpp"
#include "platform/JournalFiles.hpp"
#include "platform/PosixFileSystem.hpp"
#include "window/ContentView.hpp"
#include "window/Startup.hpp"
#include "window/Translations.hpp"

#include <QApplication>
#include <QIcon>
#include <QScreen>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[]) {
    brindleaf::shareOneHeapAcrossThreads();
    QCoreApplication::setApplicationName(QStringLiteral("Brindleaf"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRINDLEAF_VERSION));
    if (brindleaf::asksOnlyForText(argc, argv)) {
        const QCoreApplication textOnly(argc, argv);
        brindleaf::readCommandLine(textOnly, argc, argv);
        return 0;
    }

    if (brindleaf::lacksDisplay(argc, argv)) {
        std::fputs("brindleaf: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are "
                   "unset); brindleaf-cli renames without one\n",
                   stderr);
        return 1;
    }
    QApplication application(argc, argv);
    const brindleaf::Startup startup = brindleaf::readCommandLine(application, argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("app.brindleaf.Brindleaf"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/brindleaf.svg")));
    brindleaf::installTranslations(application);

    brindleaf::ContentView window(
        std::make_unique<brindleaf::PosixFileSystem>(),
        brindleaf::JournalFolder(brindleaf::JournalFolder::defaultPath()));
    // The window says with which status the program ends, after a run stopped by a signal.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&window, &brindleaf::ContentView::quitRequested, &application,
                     &QCoreApplication::exit, Qt::QueuedConnection);
    window.resize(window.openingSize(window.screen()->availableGeometry().size()));
    window.show();
    if (startup.folder) {
        window.setTargetPath(*startup.folder);
    }
    return QApplication::exec();
}
