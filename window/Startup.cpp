#include "window/Startup.hpp"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace brindleaf {

namespace {

// Qt decodes arguments from the locale's encoding, which a name need not follow; the folder
// is taken from the argument's own bytes.
std::string bytesOf(const QString& argument, int argc, char** argv) {
    for (int i = argc - 1; i > 0; --i) {
        if (QString::fromLocal8Bit(argv[i]) == argument) {
            return argv[i];
        }
    }
    return argument.toLocal8Bit().toStdString();
}

std::string absolute(std::string path) {
    if (path.starts_with('/')) {
        return path;
    }
    std::error_code unknown;
    std::string folder = std::filesystem::current_path(unknown).native();
    if (unknown) {
        return path;
    }
    return folder + '/' + path;
}

} // namespace

bool asksOnlyForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            return false;
        }
        if (argument == "-h" || argument == "--help" || argument == "-?" ||
            argument == "--help-all" || argument == "-v" || argument == "--version") {
            return true;
        }
    }
    return false;
}

bool lacksDisplay(int argc, char** argv) {
#if defined(__linux__)
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "-platform") {
            return false;
        }
    }
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY") && !isSet("QT_QPA_PLATFORM");
#else
    (void)argc;
    (void)argv;
    return false;
#endif
}

Startup readCommandLine(const QCoreApplication& application, int argc, char** argv) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Gives every entry of a folder a new, numbered name: prefix, zero-padded "
                       "number, suffix. The window previews every new name before anything "
                       "is renamed, and can undo the last renaming."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FOLDER"),
        QStringLiteral("the folder to show; it can also be dropped on the window or opened "
                       "with Ctrl+O"),
        QStringLiteral("[FOLDER]"));
    parser.process(application);
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) {
        std::fprintf(stderr, "brindleaf: give one folder at most\n");
        std::exit(2);
    }
    if (folders.isEmpty()) {
        return {};
    }
    return {absolute(bytesOf(folders.front(), argc, argv))};
}

} // namespace brindleaf
