#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace brindleaf::cli {

// A name as a terminal can show it on one line without being steered by it: unchanged when
// it holds no control character, otherwise quoted as a shell would read it back, the way
// ls shows it ($'a\nb'). Bytes that are not UTF-8 are escaped inside such a quote.
std::string shownName(std::string_view name);

// The pieces every message of the command line builds from: a name in double quotes, a list
// of names one an indented line, a count of entries, and the placeholders left behind.
std::string quotedName(std::string_view name);
std::string nameLines(std::span<const std::string> names);
std::string entryCount(std::size_t count);
std::string placeholderLines(std::span<const std::string> placeholders);

} // namespace brindleaf::cli
