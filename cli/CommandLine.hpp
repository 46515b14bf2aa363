#pragma once

#include "engine/Settings.hpp"

#include <expected>
#include <span>
#include <string>
#include <string_view>

namespace brindleaf::cli {

enum class Request { Preview, Apply, Undo, History, Forget, Cameras, Help, Version };

struct CommandLine {
    Request request = Request::Preview;
    Settings settings;
    // The preview as `original NUL renamed NUL`, exact bytes, for scripts.
    bool nullSeparated = false;
    // No line saying what was done after a rename or an undo; failures are still told.
    bool quiet = false;
    // The human preview adds the date each entry is numbered by, its source and its camera.
    bool longFormat = false;
};

// Reads the arguments after the program name. An error is a one-line reason for the usage
// message.
std::expected<CommandLine, std::string> parseCommandLine(std::span<const std::string_view> args);

std::string_view usageText();

} // namespace brindleaf::cli
