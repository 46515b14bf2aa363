#pragma once

#include <QByteArray>
#include <QFile>

namespace brindleaf {

// Opens the regular file whose path has these bytes into `file`, for reading: a path that is
// not valid text still names its file. False when it cannot be opened or is no regular file,
// such as a FIFO, which would block its reader.
[[nodiscard]] bool openForReading(const QByteArray& path, QFile& file);

} // namespace brindleaf
