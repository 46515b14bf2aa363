#pragma once

#include "window/Alerts.hpp"

#include <QList>
#include <QStringList>

#include <functional>
#include <vector>

namespace brindleaf::testing {

// Answers a window's questions and takes its failure alerts in the user's place for as long
// as it lives, keeping what was asked and what the alerts said.
class AnsweredAlerts {
public:
    using Answer = std::function<bool(const Asked& question)>;

    // `answer` decides each question; without one, every question is accepted.
    explicit AnsweredAlerts(Alerts& alerts, Answer answer = {})
        : alerts_(alerts), answer_(std::move(answer)) {
        alerts_.answerWith([this](const Asked& question) {
            asked.push_back(question);
            return answer_ ? answer_(question) : true;
        });
        alerts_.takeFailuresWith(
            [this](const QString& description) { failures.append(description); });
    }
    ~AnsweredAlerts() {
        alerts_.answerWith({});
        alerts_.takeFailuresWith({});
    }
    AnsweredAlerts(const AnsweredAlerts&) = delete;
    AnsweredAlerts& operator=(const AnsweredAlerts&) = delete;

    void answerWith(Answer answer) { answer_ = std::move(answer); }

    // Which questions were asked, in order.
    [[nodiscard]] QList<Question> kinds() const {
        QList<Question> kinds;
        for (const Asked& question : asked) {
            kinds.append(question.kind);
        }
        return kinds;
    }

    std::vector<Asked> asked;
    QStringList failures;

private:
    Alerts& alerts_;
    Answer answer_;
};

inline bool declineEvery(const Asked& /*question*/) {
    return false;
}

} // namespace brindleaf::testing
