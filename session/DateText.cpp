#include "session/DateText.hpp"

#include "engine/DateForms.hpp"

namespace brindleaf {

QString DateText::offset(std::int32_t secondsEast) {
    return QString::fromStdString(offsetForm(secondsEast));
}

QString DateText::shift(std::int64_t seconds) {
    return QString::fromStdString(shiftForm(seconds));
}

QString DateText::instant(const UsedDate& date) {
    return QString::fromStdString(instantForm(date));
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
