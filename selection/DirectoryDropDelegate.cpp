#include "selection/DirectoryDropDelegate.hpp"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QWidget>

#include <iostream>

namespace brindleaf {

namespace {

bool isLocalFolder(const QUrl& url) {
    return url.isLocalFile() && QFileInfo(url.toLocalFile()).isDir();
}

} // namespace

DirectoryDropDelegate::DirectoryDropDelegate(QWidget* target) : QObject(target) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

std::optional<QUrl> DirectoryDropDelegate::firstFolder(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return std::nullopt;
    }
    for (const QUrl& url : data->urls()) {
        if (isLocalFolder(url)) {
            return url;
        }
    }
    return std::nullopt;
}

bool DirectoryDropDelegate::performDrop(const QMimeData* data) {
    const std::optional<QUrl> folder = firstFolder(data);
    if (!folder) {
        return false;
    }
    // The drop is answered now; the folder is taken up once control is back in the loop.
    QMetaObject::invokeMethod(
        this, [this, url = *folder] { deliver(url); }, Qt::QueuedConnection);
    return true;
}

void DirectoryDropDelegate::deliver(const QUrl& folder) {
    if (!isLocalFolder(folder)) {
        std::cout << "error" << std::endl;
        return;
    }
    emit folderDropped(folder);
}

bool DirectoryDropDelegate::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (firstFolder(drag->mimeData())) {
            drag->acceptProposedAction();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (performDrop(drop->mimeData())) {
            drop->acceptProposedAction();
        } else {
            drop->ignore();
        }
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace brindleaf
