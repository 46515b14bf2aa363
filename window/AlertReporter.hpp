#pragma once

#include "engine/FailureReporter.hpp"
#include "platform/ui/Alerts.hpp"

#include <QFile>

namespace brindleaf {

// Shows each engine failure in a modal alert over `parent`.
class AlertReporter final : public FailureReporter {
public:
    explicit AlertReporter(QWidget* parent) : parent_(parent) {}
    void report(const Error& error) override {
        showFailureAlert(parent_, QFile::decodeName(QByteArray::fromStdString(error.description)));
    }

private:
    QWidget* parent_;
};

} // namespace brindleaf
