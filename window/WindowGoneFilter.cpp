#include "window/WindowGoneFilter.hpp"

#include <QCoreApplication>
#include <QWidget>

#include <cstdint>
#include <cstring>

namespace brindleaf {

namespace {

// A DestroyNotify event as the X protocol lays it out: its code in the first byte (the top
// bit marks events another client sent), and the destroyed window in bytes 8 to 11.
constexpr std::uint8_t destroyNotify = 17;
constexpr std::size_t destroyedWindowOffset = 8;

} // namespace

WindowGoneFilter::WindowGoneFilter(QWidget* window) : QObject(window), window_(window) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowGoneFilter::~WindowGoneFilter() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool WindowGoneFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !window_->testAttribute(Qt::WA_WState_Created)) {
        return false;
    }
    const auto* bytes = static_cast<const unsigned char*>(message);
    if ((bytes[0] & 0x7f) != destroyNotify) {
        return false;
    }
    std::uint32_t destroyed = 0;
    std::memcpy(&destroyed, bytes + destroyedWindowOffset, sizeof destroyed);
    if (destroyed == window_->winId()) {
        emit windowGone();
    }
    return false;
}

} // namespace brindleaf
