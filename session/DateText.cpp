#include "session/DateText.hpp"

#include <QDateTime>
#include <QTimeZone>

namespace brindleaf {

namespace {

constexpr std::int64_t nanosecondsPerSecond = 1'000'000'000;

} // namespace

QString DateText::offset(std::int32_t secondsEast) {
    const std::int32_t minutes = (secondsEast < 0 ? -secondsEast : secondsEast) / 60;
    return QStringLiteral("%1%2:%3")
        .arg(secondsEast < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString DateText::shift(std::int64_t seconds) {
    const std::int64_t size = seconds < 0 ? -seconds : seconds;
    return QStringLiteral("%1%2:%3:%4")
        .arg(seconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(size / 3600)
        .arg(size / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(size % 60, 2, 10, QLatin1Char('0'));
}

QString DateText::instant(const UsedDate& date) {
    std::int64_t seconds = date.instant / nanosecondsPerSecond;
    std::int64_t fraction = date.instant % nanosecondsPerSecond;
    if (fraction < 0) {
        fraction += nanosecondsPerSecond;
        --seconds;
    }
    const std::int32_t east =
        date.offset ? *date.offset : QDateTime::fromSecsSinceEpoch(seconds).offsetFromUtc();
    // The wall clock of that zone, formatted as if it were UTC's.
    QString text = QDateTime::fromSecsSinceEpoch(seconds + east, QTimeZone::utc())
                       .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (date.source != DateSource::Modified && fraction != 0) {
        QString decimals = QStringLiteral("%1").arg(fraction, 9, 10, QLatin1Char('0'));
        while (decimals.endsWith(QLatin1Char('0'))) {
            decimals.chop(1);
        }
        text += QLatin1Char('.') + decimals;
    }
    return text + QLatin1Char(' ') + offset(east);
}

QString DateText::shown(const UsedDate& date, Order order) {
    const QString text = instant(date);
    if (date.source == DateSource::Corrected) {
        return tr("%1 (corrected)").arg(text);
    }
    if (order == Order::Taken && date.source == DateSource::Modified) {
        return tr("%1 (modified)").arg(text);
    }
    return text;
}

} // namespace brindleaf
