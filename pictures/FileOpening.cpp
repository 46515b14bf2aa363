#include "pictures/FileOpening.hpp"

#include "platform/UniqueFd.hpp"

#include <fcntl.h>
#include <sys/stat.h>

namespace brindleaf {

bool openForReading(const QByteArray& path, QFile& file) {
    UniqueFd opened(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!opened.valid() || ::fstat(opened.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    const int descriptor = opened.release();
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return false;
    }
    return true;
}

} // namespace brindleaf
