#include "platform/SystemError.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace brindleaf {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

std::error_code flushToDisk(int fd) {
#if defined(__APPLE__)
    if (::fcntl(fd, F_FULLFSYNC) == 0) {
        return {};
    }
#endif
    return ::fsync(fd) == 0 ? std::error_code{} : lastError();
}

} // namespace brindleaf
