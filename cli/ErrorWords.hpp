#pragma once

#include "engine/Error.hpp"

#include <string>

namespace brindleaf::cli {

// English for an engine failure, names shown as a terminal can take them.
std::string describeError(const Error& error);

} // namespace brindleaf::cli
