#pragma once

#include <cstddef>
#include <system_error>
#include <thread>

namespace brindleaf {

// Does `work(begin, end)` over the positions [0, size): for a large enough `size` on a
// machine with a second core, the upper half on a second thread while this one does the
// lower half; otherwise, or when no thread can be started, all of it on this thread.
// Returns where the halves meet: `size` when the work was not split.
template <typename Work>
std::size_t inTwoHalves(std::size_t size, std::size_t worthASecondThread, Work work) {
    if (size < worthASecondThread || std::thread::hardware_concurrency() < 2) {
        work(std::size_t{0}, size);
        return size;
    }
    const std::size_t middle = size / 2;
    std::thread upper;
    try {
        upper = std::thread([&] { work(middle, size); });
    } catch (const std::system_error&) {
        work(std::size_t{0}, size);
        return size;
    }
    work(std::size_t{0}, middle);
    upper.join();
    return middle;
}

} // namespace brindleaf
