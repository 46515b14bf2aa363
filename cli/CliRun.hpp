#pragma once

#include "engine/Journals.hpp"
#include "platform/FileSystem.hpp"

#include <cstdio>
#include <span>
#include <string_view>

namespace brindleaf::cli {

// The whole command: parses `args` (without the program name), previews, renames or undoes,
// and returns the exit status. Output and messages go to the given streams.
int runCommandLine(std::span<const std::string_view> args, FileSystem& fileSystem,
                   Journals& journals, std::FILE* out, std::FILE* err);

} // namespace brindleaf::cli
