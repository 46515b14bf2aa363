#pragma once

#include <string>
#include <string_view>

namespace brindleaf {

// Keeps, in order, the user-perceived characters of `text` that are exactly one of the ASCII
// digits 0 to 9. A digit carrying a combining mark is one character that is no digit, so it
// is dropped whole; full-width and other scripts' digits are dropped too.
std::string digitsOnly(std::string_view text);

} // namespace brindleaf
