#include "selection/DirectoryDropFilter.hpp"

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

DirectoryDropFilter::DirectoryDropFilter(QWidget* target) : QObject(target) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

std::optional<QUrl> DirectoryDropFilter::firstFolder(const QMimeData* data) {
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

bool DirectoryDropFilter::performDrop(const QMimeData* data) {
    const std::optional<QUrl> folder = firstFolder(data);
    if (!folder) {
        return false;
    }
    // The drop is answered now; the folder is taken up once control is back in the loop.
    QMetaObject::invokeMethod(
        this, [this, url = *folder] { deliver(url); }, Qt::QueuedConnection);
    return true;
}

void DirectoryDropFilter::deliver(const QUrl& folder) {
    if (!isLocalFolder(folder)) {
        // The window shows nothing for a drop that went wrong, as for a cancelled chooser;
        // this one line on standard output is what scripts that drive it by drops wait for.
        std::cout << "error" << std::endl;
        return;
    }
    emit folderDropped(folder);
}

bool DirectoryDropFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return QObject::eventFilter(watched, event);
    }
    // Every drag event is a QDropEvent; only the drop itself takes the folder.
    auto* drag = static_cast<QDropEvent*>(event);
    const bool taken = type == QEvent::Drop ? performDrop(drag->mimeData())
                                            : firstFolder(drag->mimeData()).has_value();
    if (taken) {
        drag->acceptProposedAction();
    } else {
        drag->ignore();
    }
    return true;
}

} // namespace brindleaf
