#pragma once

#include <csignal>

namespace brindleaf {

// The exit status of a program that `signal` stopped, after it put every name back: what
// shells report for a program the signal ended.
constexpr int exitStatusAfter(int signal) {
    return 128 + signal;
}

// While it lives, SIGINT, SIGTERM and SIGHUP no longer end the process: each is only noted,
// so that a run can stop between two moves and put every name back. Once noted, a signal
// stays noted until the guard goes; a second Ctrl-C is noted again and does nothing else,
// so it cannot cut a rollback short. The previous handlers come back with the guard.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // The first signal that arrived, or 0.
    [[nodiscard]] int signalReceived() const noexcept;

private:
    struct sigaction previous_[3];
};

} // namespace brindleaf
