#pragma once

#include "support/ForwardingFileSystem.hpp"

#include <chrono>
#include <thread>

namespace brindleaf::testing {

// The real file system with every move slowed down, so a run lasts long enough to be
// watched and cancelled.
class SlowFileSystem final : public ForwardingFileSystem {
public:
    explicit SlowFileSystem(std::chrono::microseconds perMove) : perMove_(perMove) {}

    MoveResult move(const UniqueFd& folder, const std::string& from,
                    const std::string& to) override {
        std::this_thread::sleep_for(perMove_);
        return ForwardingFileSystem::move(folder, from, to);
    }

private:
    std::chrono::microseconds perMove_;
};

} // namespace brindleaf::testing
