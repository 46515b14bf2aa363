#pragma once

#include <string>
#include <system_error>

namespace brindleaf {

// A failure as the engine hands it to its caller: the system's code, and a description that
// can be shown to a user unchanged.
struct Error {
    std::error_code code;
    std::string description;
};

} // namespace brindleaf
