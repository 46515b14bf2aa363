#pragma once

#include "engine/Error.hpp"

namespace brindleaf {

// Where the engine sends failures the user must see. The window shows a modal alert; the
// command line writes to standard error.
class FailureReporter {
public:
    virtual ~FailureReporter() = default;
    virtual void report(const Error& error) = 0;
};

} // namespace brindleaf
