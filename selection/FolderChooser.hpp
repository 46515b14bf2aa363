#pragma once

#include <QUrl>

#include <optional>

class QWidget;

namespace brindleaf {

// Shows a new single-folder chooser, modally. Nothing when the user cancels.
std::optional<QUrl> chooseFolder(QWidget* parent);

} // namespace brindleaf
