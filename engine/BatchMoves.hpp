#pragma once

#include "engine/RunObserver.hpp"
#include "platform/FileSystem.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace brindleaf {

// A move that failed: the names it was given, which may be temporary ones, and the entry's
// own source and destination in the batch.
struct FailedMove {
    std::string from;
    std::string to;
    std::error_code code;
    MoveStep step = MoveStep::Rename;
    std::string entrySource;
    std::string entryDestination;
};

// An entry that could not be given its name from before the moves back.
struct Stranded {
    std::string original;
    std::string current;
};

// The original names of entries that could not be given them back.
std::vector<std::string> originalsOf(const std::vector<Stranded>& stranded);

struct MovesResult {
    enum class Kind { Done, Failed, Cancelled };
    Kind kind = Kind::Done;
    std::optional<FailedMove> failure;
    // Filled when the moves were taken back and some could not be.
    std::vector<Stranded> stranded;
    // Empty placeholders that failed moves made and could not remove again.
    std::vector<std::string> placeholdersLeft;
    // When moves that stopped are kept: which entries are at their destinations, by
    // position, and how many. Empty when every entry arrived or the moves were taken back.
    std::vector<bool> arrived;
    std::size_t arrivedCount = 0;
    // Kept moves: whether any move was made, perhaps only to a temporary name.
    bool anyMoved = false;
};

// What a batch that fails or is stopped does with the moves it made.
enum class OnStop {
    TakeBack, // every move is taken back, last first
    Keep,     // every entry stays where it is; one between two moves of a cycle stays under
              // its destination plus the temporary suffix
};

// Moves every sources[i] to destinations[i] inside the folder, never replacing anything. A
// move waits until its destination has been vacated, so most entries move once, straight
// to their new names; an entry whose source is already its destination does not move. Only
// a cycle of names (a swap, a reversed numbering) sends one of its entries through
// destinations[i] + temporarySuffix, and so does a move the file system refuses because a
// name is taken in another case or form. On the first failing move, or when the observer
// stops the run, the moves made are taken back, last first, unless `onStop` keeps them.
// Progress counts entries.
// Entries are taken up in `order` (positions into sources), or in their own order when it is
// empty; the moves an entry waits for still come first.
MovesResult moveBatch(FileSystem& fileSystem, const UniqueFd& folder,
                      std::span<const std::string> sources,
                      std::span<const std::string> destinations, std::string_view temporarySuffix,
                      RunObserver& observer, std::span<const std::uint32_t> order = {},
                      OnStop onStop = OnStop::TakeBack);

} // namespace brindleaf
