#pragma once

#include "engine/Error.hpp"

#include <QCoreApplication>
#include <QString>

#include <string>
#include <system_error>
#include <vector>

namespace brindleaf {

// The window's words for an engine failure, in the user's language.
class ErrorMessages {
    Q_DECLARE_TR_FUNCTIONS(ErrorMessages)

public:
    static QString describe(const Error& error);
    // Why the names cannot be given, in one sentence, for the hint shown while typing.
    static QString nameProblem(NameProblem problem, std::uint64_t longestNewName);
    // The lines after a run or an undo that could not put everything back: the entries not
    // yet restored, by their original names, and the placeholders left behind.
    static QString notRestoredLines(const std::vector<std::string>& originals);
    static QString placeholderLines(const std::vector<std::string>& placeholders);
    // Why a system call failed, in the user's language where the reason is this program's.
    static QString reasonOf(const std::error_code& code);
};

} // namespace brindleaf
