#pragma once

#include <cstddef>

namespace brindleaf {

// Told of a run's progress, counted in entries that have their new names, before every
// move; it may stop the run.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    // False stops the run; every entry then goes back to where it was.
    virtual bool proceed(std::size_t entriesDone, std::size_t entriesTotal) = 0;
};

class ProceedAlways final : public RunObserver {
public:
    bool proceed(std::size_t, std::size_t) override { return true; }
};

} // namespace brindleaf
