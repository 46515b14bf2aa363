#pragma once

#include "engine/FailureReporter.hpp"

#include <vector>

namespace brindleaf::testing {

class RecordingReporter final : public FailureReporter {
public:
    std::vector<Error> reports;
    void report(const Error& error) override { reports.push_back(error); }
};

} // namespace brindleaf::testing
