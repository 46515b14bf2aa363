#pragma once

#include "engine/Cameras.hpp"
#include "engine/Settings.hpp"

#include <QCoreApplication>
#include <QString>

#include <cstdint>

namespace brindleaf {

// The dates and clocks of photos as the window words them. A date shows the very instant
// an entry is numbered by, to the second (and its fraction where the camera wrote one), in
// the zone it was read in, so that a photo reads as its camera's clock showed it; the same
// form in every language, as the command line prints it.
class DateText {
    Q_DECLARE_TR_FUNCTIONS(brindleaf::DateText)

public:
    // "2024-07-01 10:00:05.55 +02:00". A modified time, which comes with no zone, is shown
    // in this computer's.
    static QString instant(const UsedDate& date);
    // The same, marked where it is not the date taken as read: set right for its camera's
    // clock, or the modified time standing in for a missing date taken.
    static QString shown(const UsedDate& date, Order order);
    // "+01:00", "-05:30".
    static QString offset(std::int32_t secondsEast);
    // "-0:03:12", "+1:00:00".
    static QString shift(std::int64_t seconds);
};

} // namespace brindleaf
