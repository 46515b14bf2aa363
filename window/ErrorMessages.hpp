#pragma once

#include "engine/Error.hpp"

#include <QCoreApplication>
#include <QString>

namespace brindleaf {

// The window's words for an engine failure, in the user's language.
class ErrorMessages {
    Q_DECLARE_TR_FUNCTIONS(ErrorMessages)

public:
    static QString describe(const Error& error);
    // Why the names cannot be given, in one sentence, for the hint shown while typing.
    static QString nameProblem(NameProblem problem, std::uint64_t longestNewName);
};

} // namespace brindleaf
