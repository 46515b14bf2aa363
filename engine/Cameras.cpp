#include "engine/Cameras.hpp"

#include <algorithm>
#include <charconv>
#include <unordered_map>
#include <unordered_set>

namespace brindleaf {

namespace {

constexpr std::int64_t nanosecondsPerSecond = 1'000'000'000;

// Digits only: from_chars would take a second sign too.
bool readNumber(std::string_view text, int& number) {
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc{} && end == text.data() + text.size();
}

// Takes an optional leading sign off `text`: -1 for '-', 1 otherwise.
int takeSign(std::string_view& text) {
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        const int sign = text[0] == '-' ? -1 : 1;
        text.remove_prefix(1);
        return sign;
    }
    return 1;
}

} // namespace

std::vector<std::string> cameraNames(std::span<const EntryDate> dates) {
    // A model seen with two serial numbers is two bodies: each is told by its number.
    std::unordered_map<std::string_view, std::unordered_set<std::string_view>> serialsOf;
    for (const EntryDate& date : dates) {
        if (date.taken && !date.camera.empty() && !date.serial.empty()) {
            serialsOf[date.camera].insert(date.serial);
        }
    }
    std::vector<std::string> names(dates.size());
    for (std::size_t i = 0; i < dates.size(); ++i) {
        const EntryDate& date = dates[i];
        if (!date.taken) {
            continue;
        }
        names[i] = date.camera.empty() ? std::string("unknown camera") : date.camera;
        const auto serials = serialsOf.find(date.camera);
        if (serials != serialsOf.end() && serials->second.size() > 1) {
            names[i] += " #" + date.serial;
        }
    }
    return names;
}

std::optional<std::int32_t> parseZone(std::string_view text) {
    if (text == "UTC" || text == "Z") {
        return 0;
    }
    if (text.empty() || (text[0] != '+' && text[0] != '-')) {
        return std::nullopt;
    }
    const int sign = takeSign(text);
    int hours = 0;
    int minutes = 0;
    const bool parsed =
        (text.size() == 2 && readNumber(text, hours)) ||
        (text.size() == 5 && text[2] == ':' && readNumber(text.substr(0, 2), hours) &&
         readNumber(text.substr(3, 2), minutes));
    if (!parsed || hours > 14 || minutes > 59) {
        return std::nullopt;
    }
    return sign * (hours * 3600 + minutes * 60);
}

std::optional<std::int64_t> parseShift(std::string_view text) {
    const int sign = takeSign(text);
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    if (second == std::string_view::npos || text.size() - second != 3 || second - first != 3 ||
        !readNumber(text.substr(0, first), hours) ||
        !readNumber(text.substr(first + 1, 2), minutes) ||
        !readNumber(text.substr(second + 1), seconds) || minutes > 59 || seconds > 59 ||
        hours > 100'000) {
        return std::nullopt;
    }
    return sign * (std::int64_t{hours} * 3600 + minutes * 60 + seconds);
}

std::expected<std::map<std::string, ClockCorrection, std::less<>>, ClockProblem>
readCameraClocks(const Settings& settings, std::span<const std::string> folderCameras) {
    std::map<std::string, ClockCorrection, std::less<>> clocks;
    for (const CameraClock& clock : settings.cameraClocks) {
        if (std::ranges::find(folderCameras, clock.camera) == folderCameras.end()) {
            return std::unexpected(
                ClockProblem{ClockProblem::Kind::UnknownCamera, clock.camera, clock.camera});
        }
        ClockCorrection& correction = clocks[clock.camera];
        if (!clock.zone.empty()) {
            correction.zone = parseZone(clock.zone);
            if (!correction.zone) {
                return std::unexpected(
                    ClockProblem{ClockProblem::Kind::BadZone, clock.camera, clock.zone});
            }
        }
        if (!clock.shift.empty()) {
            const auto shift = parseShift(clock.shift);
            if (!shift) {
                return std::unexpected(
                    ClockProblem{ClockProblem::Kind::BadShift, clock.camera, clock.shift});
            }
            correction.shift = *shift;
        }
    }
    return clocks;
}

namespace {

// The clocks as given, those that do not parse left out: the front ends refuse them before
// a plan is made.
std::map<std::string, ClockCorrection, std::less<>> usableClocks(const Settings& settings) {
    std::map<std::string, ClockCorrection, std::less<>> clocks;
    for (const CameraClock& clock : settings.cameraClocks) {
        ClockCorrection& correction = clocks[clock.camera];
        if (const auto zone = parseZone(clock.zone)) {
            correction.zone = zone;
        }
        if (const auto shift = parseShift(clock.shift)) {
            correction.shift = *shift;
        }
    }
    return clocks;
}

UsedDate usedDateOf(const EntryDate& date, const ClockCorrection* correction, Order order) {
    if (order != Order::Taken || !date.taken) {
        return {date.modified, std::nullopt, DateSource::Modified, false};
    }
    UsedDate used{*date.taken, date.offset, DateSource::Taken, false};
    if (!date.offset) {
        if (correction != nullptr && correction->zone) {
            used.instant = date.clock - std::int64_t{*correction->zone} * nanosecondsPerSecond;
            used.offset = correction->zone;
            used.source = DateSource::Corrected;
        } else {
            used.offset =
                static_cast<std::int32_t>((date.clock - *date.taken) / nanosecondsPerSecond);
            used.readInComputerZone = true;
        }
    }
    if (correction != nullptr && correction->shift != 0) {
        used.instant += correction->shift * nanosecondsPerSecond;
        used.source = DateSource::Corrected;
    }
    return used;
}

} // namespace

DatesUsed datesUsed(std::span<const EntryDate> dates, const Settings& settings) {
    DatesUsed used;
    used.cameras = settings.order == Order::Taken ? cameraNames(dates)
                                                  : std::vector<std::string>(dates.size());
    const auto clocks = usableClocks(settings);
    used.dates.reserve(dates.size());
    for (std::size_t i = 0; i < dates.size(); ++i) {
        const auto clock = clocks.find(used.cameras[i]);
        used.dates.push_back(
            usedDateOf(dates[i], clock != clocks.end() ? &clock->second : nullptr, settings.order));
    }
    return used;
}

std::uint32_t memberDatingGroup(std::span<const std::uint32_t> members,
                                std::span<const UsedDate> used, bool reverse) {
    std::uint32_t chosen = members.front();
    for (const std::uint32_t member : members.subspan(1)) {
        const bool isTaken = used[member].source != DateSource::Modified;
        const bool chosenTaken = used[chosen].source != DateSource::Modified;
        const std::int64_t instant = used[member].instant;
        const std::int64_t chosenInstant = used[chosen].instant;
        if (isTaken != chosenTaken) {
            chosen = isTaken ? member : chosen;
        } else if (reverse ? instant > chosenInstant : instant < chosenInstant) {
            chosen = member;
        }
    }
    return chosen;
}

DatesUsed shownDates(std::span<const EntryDate> dates, const Arrangement& arrangement,
                     const Settings& settings) {
    if (settings.order == Order::Name) {
        return {};
    }
    DatesUsed shown = datesUsed(dates, settings);
    if (arrangement.numbers.empty()) {
        return shown;
    }
    // A group's members stand side by side, sharing one number.
    const std::size_t numbered = std::min(arrangement.numbered, arrangement.numbers.size());
    std::vector<std::uint32_t> members;
    for (std::size_t begin = 0; begin < numbered;) {
        std::size_t end = begin + 1;
        while (end < numbered && arrangement.numbers[end] == arrangement.numbers[begin]) {
            ++end;
        }
        if (end - begin > 1) {
            members.resize(end - begin);
            for (std::size_t i = begin; i < end; ++i) {
                members[i - begin] = static_cast<std::uint32_t>(i);
            }
            const std::uint32_t dating =
                memberDatingGroup(members, shown.dates, settings.isReverse);
            const UsedDate groupDate = shown.dates[dating];
            const std::string groupCamera = shown.cameras[dating];
            std::fill(shown.dates.begin() + static_cast<std::ptrdiff_t>(begin),
                      shown.dates.begin() + static_cast<std::ptrdiff_t>(end), groupDate);
            std::fill(shown.cameras.begin() + static_cast<std::ptrdiff_t>(begin),
                      shown.cameras.begin() + static_cast<std::ptrdiff_t>(end), groupCamera);
        }
        begin = end;
    }
    return shown;
}

std::vector<CameraSummary> summarizeCameras(std::span<const EntryDate> dates,
                                            const Settings& settings) {
    Settings taken = settings;
    taken.order = Order::Taken;
    const DatesUsed used = datesUsed(dates, taken);
    const auto clocks = usableClocks(settings);
    std::vector<CameraSummary> cameras;
    std::unordered_map<std::string_view, std::size_t> indexOf;
    for (std::size_t i = 0; i < dates.size(); ++i) {
        if (used.cameras[i].empty()) {
            continue;
        }
        const auto [found, added] = indexOf.try_emplace(used.cameras[i], cameras.size());
        if (added) {
            CameraSummary camera;
            camera.name = used.cameras[i];
            camera.first = used.dates[i];
            camera.last = used.dates[i];
            if (const auto clock = clocks.find(camera.name); clock != clocks.end()) {
                camera.givenZone = clock->second.zone;
                camera.givenShift = clock->second.shift;
            }
            cameras.push_back(std::move(camera));
        }
        CameraSummary& camera = cameras[found->second];
        const UsedDate& date = used.dates[i];
        ++camera.entries;
        camera.withoutOffsetTags += dates[i].offset ? 0 : 1;
        camera.first = date.instant < camera.first.instant ? date : camera.first;
        camera.last = date.instant > camera.last.instant ? date : camera.last;
        if (date.readInComputerZone) {
            ++camera.inComputerZone;
            if (std::ranges::find(camera.computerOffsets, *date.offset) ==
                camera.computerOffsets.end()) {
                camera.computerOffsets.push_back(*date.offset);
            }
        }
    }
    std::ranges::sort(cameras, {}, &CameraSummary::name);
    return cameras;
}

DateCounts countDates(std::span<const EntryDate> dates, std::size_t numbered,
                      const Settings& settings) {
    DateCounts counts;
    if (settings.order != Order::Taken) {
        return counts;
    }
    const DatesUsed used = datesUsed(dates, settings);
    for (std::size_t i = 0; i < std::min(numbered, dates.size()); ++i) {
        counts.withoutDateTaken += dates[i].taken ? 0 : 1;
        counts.inComputerZone += used.dates[i].readInComputerZone ? 1 : 0;
    }
    return counts;
}

} // namespace brindleaf
