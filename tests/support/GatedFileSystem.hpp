#pragma once

#include "support/ForwardingFileSystem.hpp"

#include <atomic>
#include <chrono>
#include <thread>

namespace brindleaf::testing {

// The real file system, except that no move is made until the gate is opened: a run held
// at its first move, for a test to look at what was shown before any entry moved. The gate
// opens by itself after ten seconds, so that a test that fails before opening it ends.
class GatedFileSystem final : public ForwardingFileSystem {
public:
    void open() { open_ = true; }
    [[nodiscard]] std::size_t movesMade() const { return moves_.load(); }

    MoveResult move(const UniqueFd& folder, const std::string& from,
                    const std::string& to) override {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!open_.load() && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ++moves_;
        return ForwardingFileSystem::move(folder, from, to);
    }

private:
    std::atomic<bool> open_ = false;
    std::atomic<std::size_t> moves_ = 0;
};

} // namespace brindleaf::testing
