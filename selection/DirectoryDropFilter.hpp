#pragma once

#include <QObject>
#include <QUrl>

#include <optional>

class QMimeData;
class QWidget;

namespace brindleaf {

// Makes one widget a drop target for folders. A drag is accepted only when one of its items
// is a local folder; the first such folder is handed on through the event loop, as
// folderDropped(), once it has been checked again.
class DirectoryDropFilter : public QObject {
    Q_OBJECT

public:
    // Installs itself on `target`, which becomes the only widget it accepts drops for.
    explicit DirectoryDropFilter(QWidget* target);

    // The first item of `data` that is a local file URL naming a directory.
    static std::optional<QUrl> firstFolder(const QMimeData* data);

    // Takes or refuses a drop at once; a taken folder arrives later, from the event loop.
    bool performDrop(const QMimeData* data);

signals:
    void folderDropped(const QUrl& folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void deliver(const QUrl& folder);
};

} // namespace brindleaf
