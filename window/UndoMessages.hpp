#pragma once

#include "engine/Undo.hpp"

#include <QCoreApplication>
#include <QString>

namespace brindleaf {

// The window's words for undoing a run and for a run that did not finish.
class UndoMessages {
    Q_DECLARE_TR_FUNCTIONS(UndoMessages)

public:
    static QString question(const QString& folder, std::size_t entries);
    static QString interruptedQuestion(const QString& folder);
    static QString anotherRunGoing(const QString& folder);
    // What the undo did. `succeeded` tells a plain success from one the user must read.
    static QString outcome(const UndoReport& report, bool& succeeded);
};

} // namespace brindleaf
