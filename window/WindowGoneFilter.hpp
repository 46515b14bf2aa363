#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

class QWidget;

namespace brindleaf {

// Tells when the window system has destroyed a widget's window from outside (another
// program can, as `xdotool windowclose` does), which no close request comes before: the
// program must not live on without a window. Only X11 reports it; elsewhere it stays quiet.
class WindowGoneFilter final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit WindowGoneFilter(QWidget* window);
    ~WindowGoneFilter() override;
    WindowGoneFilter(const WindowGoneFilter&) = delete;
    WindowGoneFilter& operator=(const WindowGoneFilter&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void windowGone();

private:
    QWidget* window_;
};

} // namespace brindleaf
