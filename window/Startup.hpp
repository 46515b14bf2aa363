#pragma once

#include <optional>
#include <string>

class QCoreApplication;

namespace brindleaf {

// What the command line asks of the application.
struct Startup {
    // The folder to show first, as the bytes the file system knows it by, made absolute.
    std::optional<std::string> folder;
};

// Whether the command line asks only for text (--help, --version), which must work without a
// display: the application to read it with is then a QCoreApplication, not a QApplication.
bool asksOnlyForText(int argc, char** argv);

// Whether no display is there to show the window on, where Qt would abort with advice to
// reinstall the application.
bool lacksDisplay(int argc, char** argv);

// Reads `brindleaf [FOLDER]` from what `application` left of the arguments once it took its
// own. --help and --version print and end the process here, as a usage error does.
Startup readCommandLine(const QCoreApplication& application, int argc, char** argv);

} // namespace brindleaf
