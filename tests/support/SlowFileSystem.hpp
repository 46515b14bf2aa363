#pragma once

#include "support/ForwardingFileSystem.hpp"

#include <chrono>
#include <thread>

namespace brindleaf::testing {

// The real file system with every move slowed down, so a run lasts long enough to be
// watched and cancelled; the move numbered `failingMove` (from 1) fails with EIO.
class SlowFileSystem final : public ForwardingFileSystem {
public:
    explicit SlowFileSystem(std::chrono::microseconds perMove, std::size_t failingMove = 0)
        : perMove_(perMove), failingMove_(failingMove) {}

    MoveResult move(const UniqueFd& folder, const std::string& from,
                    const std::string& to) override {
        std::this_thread::sleep_for(perMove_);
        if (++moves_ == failingMove_) {
            return {std::make_error_code(std::errc::io_error)};
        }
        return ForwardingFileSystem::move(folder, from, to);
    }

private:
    std::chrono::microseconds perMove_;
    std::size_t failingMove_;
    std::size_t moves_ = 0;
};

} // namespace brindleaf::testing
