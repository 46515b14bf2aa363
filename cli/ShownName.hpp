#pragma once

#include <string>
#include <string_view>

namespace brindleaf::cli {

// A name as a terminal can show it on one line without being steered by it: unchanged when
// it holds no control character, otherwise quoted as a shell would read it back, the way
// ls shows it ($'a\nb'). Bytes that are not UTF-8 are escaped inside such a quote.
std::string shownName(std::string_view name);

} // namespace brindleaf::cli
