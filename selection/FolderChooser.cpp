#include "selection/FolderChooser.hpp"

#include <QFileDialog>

namespace brindleaf {

std::optional<QUrl> chooseFolder(QWidget* parent) {
    QFileDialog chooser(parent);
    chooser.setObjectName(QStringLiteral("folderChooser"));
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly, true);
    if (chooser.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QList<QUrl> chosen = chooser.selectedUrls();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen.first();
}

} // namespace brindleaf
