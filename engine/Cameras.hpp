#pragma once

#include "engine/Arrangement.hpp"
#include "engine/Settings.hpp"

#include <cstddef>
#include <cstdint>
#include <expected>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brindleaf {

// The camera of each entry with a date taken, by the name the user gives it: maker and
// model, with " #" and the body serial number added where two bodies of one model are in
// the folder. Empty for an entry without a date taken.
[[nodiscard]] std::vector<std::string> cameraNames(std::span<const EntryDate> dates);

// "+01:00", "-05:30", "+01" or "UTC", in seconds east of UTC; none for anything else.
[[nodiscard]] std::optional<std::int32_t> parseZone(std::string_view text);
// "-0:03:12" or "+1:00:00" (hours, minutes, seconds), in seconds; none for anything else.
[[nodiscard]] std::optional<std::int64_t> parseShift(std::string_view text);

// One camera's clock as set right: its zone in seconds east of UTC, its shift in seconds.
struct ClockCorrection {
    std::optional<std::int32_t> zone;
    std::int64_t shift = 0;
};

// Why the clocks the settings give cannot be used.
struct ClockProblem {
    enum class Kind : std::uint8_t { UnknownCamera, BadZone, BadShift };
    Kind kind = Kind::UnknownCamera;
    std::string camera;
    std::string value;
};

// The settings' camera clocks, by camera name, checked against `folderCameras`.
[[nodiscard]] std::expected<std::map<std::string, ClockCorrection, std::less<>>, ClockProblem>
readCameraClocks(const Settings& settings, std::span<const std::string> folderCameras);

// Where the date an entry is numbered by comes from.
enum class DateSource : std::uint8_t { Taken, Modified, Corrected };

struct UsedDate {
    // Nanoseconds since the epoch.
    std::int64_t instant = 0;
    // Seconds east of UTC of the zone the date was read in; none for a modified time, which
    // is no clock reading.
    std::optional<std::int32_t> offset;
    DateSource source = DateSource::Modified;
    // A date taken without an offset tag or a zone given for its camera: read in this
    // computer's zone.
    bool readInComputerZone = false;
};

// The date each entry is numbered by under `settings.order`, each camera's clock set right
// as the settings say (clocks that do not parse are left alone), with each entry's camera.
struct DatesUsed {
    std::vector<std::string> cameras;
    std::vector<UsedDate> dates;
};
[[nodiscard]] DatesUsed datesUsed(std::span<const EntryDate> dates, const Settings& settings);

// Of a group of related entries, the member whose date the group stands at: its earliest
// date taken (latest when reversed), else its earliest date used. `members` is not empty.
[[nodiscard]] std::uint32_t memberDatingGroup(std::span<const std::uint32_t> members,
                                              std::span<const UsedDate> used, bool reverse);

// The date each entry of an arranged listing is shown with, and its camera: a numbered
// entry shows the date its group stands at and that date's camera, so that a sidecar shows
// the time and the camera of the photo it follows. `dates` are in the arranged order. Empty unless
// the order is by a date.
[[nodiscard]] DatesUsed shownDates(std::span<const EntryDate> dates, const Arrangement& arrangement,
                                   const Settings& settings);

// One camera of a folder, as --cameras lists it.
struct CameraSummary {
    std::string name;
    std::size_t entries = 0;
    UsedDate first;
    UsedDate last;
    // Entries without offset tags; of them, those read in this computer's zone for want of a
    // zone given, and that zone's distinct offsets at their dates.
    std::size_t withoutOffsetTags = 0;
    std::size_t inComputerZone = 0;
    std::vector<std::int32_t> computerOffsets;
    std::optional<std::int32_t> givenZone;
    std::int64_t givenShift = 0;
};
[[nodiscard]] std::vector<CameraSummary> summarizeCameras(std::span<const EntryDate> dates,
                                                          const Settings& settings);

// Of the numbered entries, how many had no date taken, and how many were read in this
// computer's zone for want of a zone for their camera.
struct DateCounts {
    std::size_t withoutDateTaken = 0;
    std::size_t inComputerZone = 0;
};
[[nodiscard]] DateCounts countDates(std::span<const EntryDate> dates, std::size_t numbered,
                                    const Settings& settings);

} // namespace brindleaf
