#pragma once

#include "engine/NameFormat.hpp"
#include "engine/Ordering.hpp"

#include <cstddef>
#include <functional>
#include <map>
#include <string>

namespace brindleaf {

// What a listing holds, counted once per listing, so that a summary can be read against any
// naming without walking a million names again.
struct ListingSummary {
    std::size_t entries = 0;
    std::size_t folders = 0;
    std::size_t hidden = 0; // names that start with "."
    // How many files carry each extension ("" for none).
    std::map<std::string, std::size_t, std::less<>> extensions;
};

// The listing's entries from position `from` on.
ListingSummary summarize(const ListedNames& listing, std::size_t from = 0);

// How many files `format` gives an extension other than their own.
std::size_t extensionChanges(const ListingSummary& summary, const NameFormat& format);

} // namespace brindleaf
