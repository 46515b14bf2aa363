#pragma once

#include "engine/Settings.hpp"

#include <expected>
#include <span>
#include <string>
#include <string_view>

namespace brindleaf::cli {

enum class Request { Preview, Apply, Undo, Help, Version };

struct CommandLine {
    Request request = Request::Preview;
    Settings settings;
};

// Reads the arguments after the program name. An error is a one-line reason for the usage
// message.
std::expected<CommandLine, std::string> parseCommandLine(std::span<const std::string_view> args);

std::string_view usageText();

} // namespace brindleaf::cli
