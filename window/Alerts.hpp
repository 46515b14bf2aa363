#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace brindleaf {

// Which question the window asks before it acts, so that whoever answers knows it by more
// than its words.
enum class Question {
    Rename,
    RenameAfterChange,
    Undo,
    RestoreInterrupted,
    RestoreFromDamagedRecord,
    SetAsideDamagedRecord,
};

// A question as the window asks it: a bold message, `details` below it in plain text, one
// accepting button, and one declining (Cancel unless `declineText` names it).
struct Asked {
    Question kind = Question::Rename;
    QString title;
    QString message;
    QString acceptText;
    QString declineText;
    QString details;
};

// The questions and failure alerts of one window. Each blocks until it is answered: by the
// user through a modal dialog, or by the answerer given in its place.
class Alerts {
public:
    // True to accept.
    using Answerer = std::function<bool(const Asked& question)>;
    // Takes a failure's description, as the alert would show it.
    using FailureTaker = std::function<void(const QString& description)>;

    explicit Alerts(QWidget* parent) : parent_(parent) {}

    // True only when the question was accepted.
    [[nodiscard]] bool ask(const Asked& question) const;
    // Shows a failure's description. The answer is not needed.
    void showFailure(const QString& description) const;

    // Answers every question from now on in the user's place; an empty one gives the
    // questions back to the dialogs.
    void answerWith(Answerer answerer) { answerer_ = std::move(answerer); }
    void takeFailuresWith(FailureTaker taker) { failureTaker_ = std::move(taker); }

private:
    QWidget* parent_;
    Answerer answerer_;
    FailureTaker failureTaker_;
};

// The modal dialogs themselves.

// Shows a failure's description. The answer is not needed.
void showFailureAlert(QWidget* parent, const QString& description);

// Asks the user to proceed. Escape, the declining button and the close box all decline.
// True only when the user accepted.
bool askToProceed(QWidget* parent, const Asked& question);

} // namespace brindleaf
