#pragma once

#include <QApplication>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace brindleaf::testing {

// The modal dialog of type `Dialog`, or else a visible one that blocks nothing.
template <typename Dialog> Dialog* shownDialog() {
    if (auto* modal = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
        return modal;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<Dialog*>(window);
            dialog != nullptr && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// Answers the next dialog of type `Dialog` as soon as it is shown, from the event loop
// that the dialog itself runs, or that the run behind it serves.
template <typename Dialog> void whenShown(std::function<void(Dialog*)> answer) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, answer = std::move(answer)] {
        if (auto* dialog = shownDialog<Dialog>()) {
            poll->stop();
            poll->deleteLater();
            answer(dialog);
        }
    });
    poll->start();
}

// Drops `data` where `widget` is, as the platform would: on the widget itself or the
// nearest ancestor that accepts drops. False when nothing took the drop.
inline bool dropOn(QWidget* widget, const QMimeData& data) {
    QWidget* target = widget;
    while (target != nullptr && !target->acceptDrops()) {
        target = target->parentWidget();
    }
    if (target == nullptr) {
        return false;
    }
    const QPointF point = QRectF(target->rect()).center();
    QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

inline QMimeData* urlData(const QList<QUrl>& urls) {
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

} // namespace brindleaf::testing
