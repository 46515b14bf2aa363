#pragma once

#include <QFile>
#include <QString>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <string_view>

namespace brindleaf {

// A name's bytes as the window shows them: decoded as the system decodes file names.
inline QString decodedName(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// A count for tr()'s %n, which takes an int.
inline int countForText(std::size_t count) {
    return static_cast<int>(std::min<std::size_t>(count, INT_MAX));
}

} // namespace brindleaf
