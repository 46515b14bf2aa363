#include "engine/DateForms.hpp"

#include <cstdio>
#include <ctime>

namespace brindleaf {

std::string offsetForm(std::int32_t east) {
    const std::int32_t minutes = (east < 0 ? -east : east) / 60;
    char text[16];
    std::snprintf(text, sizeof text, "%c%02d:%02d", east < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    return text;
}

std::string instantForm(const UsedDate& used) {
    constexpr std::int64_t perSecond = 1'000'000'000;
    std::int64_t seconds = used.instant / perSecond;
    std::int64_t fraction = used.instant % perSecond;
    if (fraction < 0) {
        fraction += perSecond;
        --seconds;
    }
    std::int32_t east = 0;
    if (used.offset) {
        east = *used.offset;
    } else {
        const auto asTime = static_cast<std::time_t>(seconds);
        std::tm local{};
        if (::localtime_r(&asTime, &local) != nullptr) {
            east = static_cast<std::int32_t>(local.tm_gmtoff);
        }
    }
    const auto shifted = static_cast<std::time_t>(seconds + east);
    std::tm time{};
    if (::gmtime_r(&shifted, &time) == nullptr) {
        return "?";
    }
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &time);
    std::string shown = text;
    if (used.source != DateSource::Modified && fraction != 0) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%09lld", static_cast<long long>(fraction));
        std::string decimals = digits;
        decimals.erase(decimals.find_last_not_of('0') + 1);
        shown += "." + decimals;
    }
    return shown + " " + offsetForm(east);
}

std::string shiftForm(std::int64_t seconds) {
    const std::int64_t size = seconds < 0 ? -seconds : seconds;
    char text[32];
    std::snprintf(text, sizeof text, "%c%lld:%02lld:%02lld", seconds < 0 ? '-' : '+',
                  static_cast<long long>(size / 3600), static_cast<long long>(size / 60 % 60),
                  static_cast<long long>(size % 60));
    return text;
}

} // namespace brindleaf
