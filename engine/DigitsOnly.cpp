#include "engine/DigitsOnly.hpp"

#include <unicode/ubrk.h>
#include <unicode/utext.h>

#include <cstdint>
#include <memory>

namespace brindleaf {

namespace {

struct UTextCloser {
    void operator()(UText* text) const noexcept { utext_close(text); }
};
struct BreakIteratorCloser {
    void operator()(UBreakIterator* iterator) const noexcept { ubrk_close(iterator); }
};

bool isSingleAsciiDigit(std::string_view cluster) {
    return cluster.size() == 1 && cluster[0] >= '0' && cluster[0] <= '9';
}

} // namespace

std::string digitsOnly(std::string_view text) {
    std::string digits;
    if (text.empty()) {
        return digits;
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UText, UTextCloser> utext(
        utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status));
    std::unique_ptr<UBreakIterator, BreakIteratorCloser> clusters(
        ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status));
    ubrk_setUText(clusters.get(), utext.get(), &status);
    if (U_FAILURE(status)) {
        return digits;
    }
    // Offsets are byte offsets into the UTF-8 text.
    for (int32_t start = ubrk_first(clusters.get()), end = ubrk_next(clusters.get());
         end != UBRK_DONE; start = end, end = ubrk_next(clusters.get())) {
        const std::string_view cluster =
            text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
        if (isSingleAsciiDigit(cluster)) {
            digits += cluster;
        }
    }
    return digits;
}

} // namespace brindleaf
