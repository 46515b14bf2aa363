#pragma once

#include "engine/FailureReporter.hpp"
#include "window/Alerts.hpp"
#include "window/ErrorMessages.hpp"

#include <vector>

namespace brindleaf {

// Shows each engine failure in a modal alert over `parent`.
class AlertReporter final : public FailureReporter {
public:
    explicit AlertReporter(QWidget* parent) : parent_(parent) {}
    void report(const Error& error) override {
        showFailureAlert(parent_, ErrorMessages::describe(error));
    }

private:
    QWidget* parent_;
};

// Keeps the failures of a run until it is over: an alert raised while the progress dialog
// is still up would sit under it, its OK button blocked.
class DeferredAlerts final : public FailureReporter {
public:
    void report(const Error& error) override { failures_.push_back(error); }
    [[nodiscard]] bool empty() const { return failures_.empty(); }
    void show(QWidget* parent) {
        AlertReporter alerts(parent);
        for (const Error& failure : failures_) {
            alerts.report(failure);
        }
        failures_.clear();
    }

private:
    std::vector<Error> failures_;
};

} // namespace brindleaf
