#pragma once

#include <QListView>

class QHeaderView;

namespace brindleaf {

// The preview list. Its rows all have one height and never move when their text changes,
// so a change of text only needs the visible rows repainted: the default handling walks
// every changed row, which costs a keystroke far too much in a folder of a million entries.
class PreviewListView : public QListView {
    Q_OBJECT

public:
    explicit PreviewListView(QWidget* parent = nullptr);

    // Whether the rows are a folder's: an empty preview then says the folder is empty rather
    // than where a folder comes from.
    void setFolderShown(bool shown);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override;

private:
    QHeaderView* columns_;
    bool folderShown_ = false;
    bool columnsResizedByUser_ = false;
};

} // namespace brindleaf
