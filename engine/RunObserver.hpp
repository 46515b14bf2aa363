#pragma once

#include <cstddef>

namespace brindleaf {

// Told of a run's progress before every move; it may stop the run.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    // False stops the run; every entry then goes back to where it was.
    virtual bool proceed(std::size_t movesDone, std::size_t movesTotal) = 0;
};

class ProceedAlways final : public RunObserver {
public:
    bool proceed(std::size_t, std::size_t) override { return true; }
};

} // namespace brindleaf
