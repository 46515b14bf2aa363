#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

namespace brindleaf::bench {

template <typename Work> double secondsOf(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of `rounds` runs: the one least disturbed by the rest of the machine.
template <typename Work> double bestOf(int rounds, Work&& work) {
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        const double seconds = work();
        best = seconds < best ? seconds : best;
    }
    return best;
}

inline void printHeader() {
    std::printf("%-10s %-34s %12s  %-30s %12s %7s\n", "entries", "stage", "brindleaf", "baseline",
                "baseline", "ratio");
}

inline void printRow(std::size_t entries, const std::string& stage, double seconds,
                     const std::string& baseline = {}, double baselineSeconds = 0) {
    if (baseline.empty()) {
        std::printf("%-10zu %-34s %9.1f ms\n", entries, stage.c_str(), seconds * 1e3);
    } else {
        std::printf("%-10zu %-34s %9.1f ms  %-30s %9.1f ms %7.2f\n", entries, stage.c_str(),
                    seconds * 1e3, baseline.c_str(), baselineSeconds * 1e3,
                    seconds / baselineSeconds);
    }
    std::fflush(stdout);
}

inline void printMemory(std::size_t entries, const std::string& what, long kilobytes) {
    std::printf("%-10zu %-34s %9.1f MB\n", entries, what.c_str(), kilobytes / 1024.0);
    std::fflush(stdout);
}

} // namespace brindleaf::bench
