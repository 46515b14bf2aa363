#pragma once

#include "platform/SystemError.hpp"
#include "platform/UniqueFd.hpp"

#include <dirent.h>
#include <fcntl.h>

#include <cerrno>
#include <memory>
#include <string_view>
#include <system_error>

namespace brindleaf {

// Calls `visit(const dirent&)` for every entry of the opened folder but "." and "..", from
// the first, until it returns false. The stream reads a duplicate of the descriptor, so the
// caller's stays open and keeps its own position.
template <typename Visit> std::error_code visitFolder(int folder, Visit visit) {
    struct Closer {
        void operator()(DIR* stream) const noexcept { ::closedir(stream); }
    };
    UniqueFd copy(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
    if (!copy.valid()) {
        return lastError();
    }
    const std::unique_ptr<DIR, Closer> stream(::fdopendir(copy.get()));
    if (!stream) {
        return lastError();
    }
    static_cast<void>(copy.release());
    // A duplicate shares the read position; start from the first entry every time.
    ::rewinddir(stream.get());
    errno = 0;
    while (const dirent* entry = ::readdir(stream.get())) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != ".." && !visit(*entry)) {
            return {};
        }
    }
    return errno != 0 ? lastError() : std::error_code{};
}

} // namespace brindleaf
