#pragma once

#include <system_error>

namespace brindleaf {

// The error of the system call that just failed, from errno.
std::error_code lastError();

// Makes what was written through `fd` survive a power cut: fsync, or on macOS the full
// flush that fsync leaves in the drive's cache.
std::error_code flushToDisk(int fd);

} // namespace brindleaf
