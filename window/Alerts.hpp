#pragma once

#include <QString>

class QWidget;

namespace brindleaf {

// The modal dialogs the window needs; each blocks until the user closes it.

// Shows a failure's description. The answer is not needed.
void showFailureAlert(QWidget* parent, const QString& description);

// Asks the user to proceed: a bold message, `details` below it in plain text, and one
// accepting button. Escape, the declining button (Cancel unless `declineText` names it)
// and the close box all decline. True only when the user accepted.
bool askToProceed(QWidget* parent, const QString& title, const QString& message,
                  const QString& acceptText, const QString& declineText = {},
                  const QString& details = {});

} // namespace brindleaf
