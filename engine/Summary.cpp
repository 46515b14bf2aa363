#include "engine/Summary.hpp"

#include <algorithm>

namespace brindleaf {

ListingSummary summarize(const ListedNames& listing, std::size_t from) {
    ListingSummary summary;
    summary.entries = listing.names.size() - std::min(from, listing.names.size());
    for (std::size_t i = from; i < listing.names.size(); ++i) {
        const std::string& name = listing.names[i];
        summary.hidden += name.starts_with('.') ? 1 : 0;
        if (i < listing.folders.size() && listing.folders[i] != 0) {
            ++summary.folders;
            continue;
        }
        const std::string_view extension = NameFormat::extensionOf(name);
        const auto found = summary.extensions.find(extension);
        if (found != summary.extensions.end()) {
            ++found->second;
        } else {
            summary.extensions.emplace(extension, 1);
        }
    }
    return summary;
}

std::size_t extensionChanges(const ListingSummary& summary, const NameFormat& format) {
    // Numbers hold no dot, so every new name ends in the same extension; a kept one follows.
    const std::string renamed = format.renamedAt(0).value_or(std::string{});
    const std::string_view given = NameFormat::extensionOf(renamed);
    std::size_t changes = 0;
    for (const auto& [extension, files] : summary.extensions) {
        const bool keeps = format.keepsExtensions() && !extension.empty();
        if (!keeps && extension != given) {
            changes += files;
        }
    }
    return changes;
}

} // namespace brindleaf
