#include "platform/InterruptSignals.hpp"

#include <array>
#include <atomic>

namespace brindleaf {

namespace {

constexpr std::array<int, 3> politeSignals{SIGINT, SIGTERM, SIGHUP};

// A signal handler can reach nothing but static storage; this is the one place it writes.
std::atomic<int> firstSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void noteSignal(int number) {
    int none = 0;
    firstSignal.compare_exchange_strong(none, number);
}

} // namespace

InterruptGuard::InterruptGuard() {
    firstSignal.store(0);
    struct sigaction noting {};
    noting.sa_handler = noteSignal;
    sigemptyset(&noting.sa_mask);
    noting.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < politeSignals.size(); ++i) {
        ::sigaction(politeSignals[i], &noting, &previous_[i]);
    }
}

InterruptGuard::~InterruptGuard() {
    for (std::size_t i = 0; i < politeSignals.size(); ++i) {
        ::sigaction(politeSignals[i], &previous_[i], nullptr);
    }
}

int InterruptGuard::signalReceived() const noexcept {
    return firstSignal.load(std::memory_order_relaxed);
}

} // namespace brindleaf
