#pragma once

#include "engine/RunObserver.hpp"

#include <cstddef>

namespace brindleaf::testing {

// Stops a run or an undo before its move number `moves` + 1: progress is asked once before
// each move.
class StopBeforeMove final : public RunObserver {
public:
    explicit StopBeforeMove(std::size_t moves) : moves_(moves) {}
    bool proceed(std::size_t, std::size_t) override { return asked_++ < moves_; }

private:
    std::size_t moves_;
    std::size_t asked_ = 0;
};

} // namespace brindleaf::testing
