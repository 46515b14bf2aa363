#include "engine/BatchMoves.hpp"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>

namespace brindleaf {

namespace {

constexpr std::size_t none = std::numeric_limits<std::size_t>::max();

// Which entry a name is the source of, from one flat table: a million names are indexed
// without a node per name. Each slot keeps part of its name's hash beside the entry, so that
// a probe reaches into a name only when that part matches: most names looked up are not
// sources, and a name read from far away in memory costs more than its move's bookkeeping.
class SourceIndex {
public:
    explicit SourceIndex(std::span<const std::string> sources) : sources_(sources) {
        std::size_t capacity = 16;
        while (capacity < 2 * sources.size()) {
            capacity *= 2;
        }
        slots_.assign(capacity, empty);
        mask_ = capacity - 1;
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const std::size_t hash = hashOf(sources[i]);
            std::size_t slot = hash & mask_;
            while (slots_[slot] != empty) {
                slot = (slot + 1) & mask_;
            }
            slots_[slot] = (tagOf(hash) << 32) | i;
        }
    }

    [[nodiscard]] std::size_t find(std::string_view name) const {
        const std::size_t hash = hashOf(name);
        for (std::size_t slot = hash & mask_; slots_[slot] != empty; slot = (slot + 1) & mask_) {
            const std::uint64_t entry = slots_[slot];
            if ((entry >> 32) == tagOf(hash) && sources_[entry & 0xFFFFFFFFU] == name) {
                return entry & 0xFFFFFFFFU;
            }
        }
        return none;
    }

private:
    static std::size_t hashOf(std::string_view name) { return std::hash<std::string_view>{}(name); }
    // The hash's high bits: the low ones chose the slot already.
    static std::uint64_t tagOf(std::size_t hash) {
        return static_cast<std::uint64_t>(hash) >> 32 & 0xFFFFFFFFU;
    }

    static constexpr std::uint64_t empty = std::numeric_limits<std::uint64_t>::max();
    std::span<const std::string> sources_;
    std::vector<std::uint64_t> slots_;
    std::size_t mask_ = 0;
};

// Where a move took an entry: straight home, to its temporary name, or on from there.
enum class Leg : std::uint8_t { Home, ToTemporary, FromTemporary };

// One move made, enough to take it back without keeping its names.
struct MadeMove {
    std::size_t entry;
    Leg leg;
};

// The moves of one batch in an order where every name is free when it is taken, and the
// record to take them back.
class BatchRun {
public:
    BatchRun(FileSystem& fileSystem, const UniqueFd& folder, std::span<const std::string> sources,
             std::span<const std::string> destinations, std::string_view temporarySuffix,
             OnStop onStop)
        : fileSystem_(fileSystem), folder_(folder), sources_(sources), destinations_(destinations),
          temporarySuffix_(temporarySuffix), onStop_(onStop), waitsFor_(sources.size(), none),
          done_(sources.size(), false), arrived_(sources.size(), false) {
        // Each destination is at most one entry's source, and each source at most one
        // entry's destination: the entries form chains and cycles.
        const SourceIndex entryNamed(sources);
        for (std::size_t i = 0; i < sources.size(); ++i) {
            if (sources[i] == destinations[i]) {
                done_[i] = true;
                arrived_[i] = true;
                ++entriesDone_;
                continue;
            }
            waitsFor_[i] = entryNamed.find(destinations[i]);
        }
    }

    MovesResult carryOut(RunObserver& observer, std::span<const std::uint32_t> order) {
        for (std::size_t i = 0; i < sources_.size(); ++i) {
            const std::size_t entry = order.empty() ? i : order[i];
            if (!done_[entry]) {
                if (auto stop = settleChainFrom(entry, observer)) {
                    return takeBack(std::move(*stop));
                }
            }
        }
        // Moves the file system refused for a name the plan believed free end last, when
        // every other name has been vacated.
        for (const std::size_t entry : deferred_) {
            if (auto stop = step(entry, Leg::FromTemporary, observer)) {
                return takeBack(std::move(*stop));
            }
            arrived_[entry] = true;
            ++entriesDone_;
        }
        return {};
    }

private:
    // Why a batch stopped: a failed move, or none when the observer stopped it.
    struct Stop {
        MovesResult::Kind kind;
        std::optional<FailedMove> failure;
    };

    // Settles `first` and every entry it waits for: the last in the line moves first. When
    // the line comes back to `first`, it is a cycle, broken by a temporary name.
    std::optional<Stop> settleChainFrom(std::size_t first, RunObserver& observer) {
        line_.assign(1, first);
        std::size_t next = waitsFor_[first];
        // Distinct names make every line end or close; the bound guards against a plan that
        // breaks that promise.
        while (next != none && !done_[next] && next != first && line_.size() <= sources_.size()) {
            line_.push_back(next);
            next = waitsFor_[next];
        }
        const bool cycle = next == first;
        if (cycle) {
            if (auto stop = step(first, Leg::ToTemporary, observer)) {
                return stop;
            }
        }
        for (std::size_t i = line_.size(); i-- > (cycle ? 1 : 0);) {
            if (auto stop = moveHome(line_[i], observer)) {
                return stop;
            }
        }
        if (cycle) {
            if (auto stop = step(first, Leg::FromTemporary, observer)) {
                return stop;
            }
            finish(first);
        }
        return std::nullopt;
    }

    // The straight move of an entry whose destination is free by the plan; a name taken in
    // another case or form sends it through its temporary name to the end.
    std::optional<Stop> moveHome(std::size_t entry, RunObserver& observer) {
        if (!observer.proceed(entriesDone_, sources_.size())) {
            return Stop{MovesResult::Kind::Cancelled, std::nullopt};
        }
        const MoveResult result = attempt(entry, Leg::Home);
        if (!result) {
            finish(entry);
            return std::nullopt;
        }
        if (result.error != std::errc::file_exists) {
            return failed(entry, Leg::Home, result);
        }
        if (auto stop = step(entry, Leg::ToTemporary, observer)) {
            return stop;
        }
        done_[entry] = true;
        deferred_.push_back(entry);
        return std::nullopt;
    }

    std::optional<Stop> step(std::size_t entry, Leg leg, RunObserver& observer) {
        if (!observer.proceed(entriesDone_, sources_.size())) {
            return Stop{MovesResult::Kind::Cancelled, std::nullopt};
        }
        const MoveResult result = attempt(entry, leg);
        if (result) {
            return failed(entry, leg, result);
        }
        return std::nullopt;
    }

    Stop failed(std::size_t entry, Leg leg, const MoveResult& result) const {
        return {MovesResult::Kind::Failed,
                FailedMove{from(entry, leg), to(entry, leg), result.error, result.failedStep,
                           sources_[entry], destinations_[entry]}};
    }

    void finish(std::size_t entry) {
        done_[entry] = true;
        arrived_[entry] = true;
        ++entriesDone_;
    }

    std::string temporaryName(std::size_t entry) const {
        return destinations_[entry] + std::string(temporarySuffix_);
    }

    std::string from(std::size_t entry, Leg leg) const {
        return leg == Leg::FromTemporary ? temporaryName(entry) : sources_[entry];
    }

    std::string to(std::size_t entry, Leg leg) const {
        return leg == Leg::ToTemporary ? temporaryName(entry) : destinations_[entry];
    }

    // One move, recorded when made; a placeholder it could not clean up is noted.
    MoveResult attempt(std::size_t entry, Leg leg) {
        MoveResult result = leg == Leg::Home
                                ? fileSystem_.move(folder_, sources_[entry], destinations_[entry])
                                : fileSystem_.move(folder_, from(entry, leg), to(entry, leg));
        if (result.placeholderLeft) {
            placeholdersLeft_.push_back(to(entry, leg));
        }
        if (!result) {
            made_.push_back({entry, leg});
        }
        return result;
    }

    MovesResult takeBack(Stop stop) {
        if (onStop_ == OnStop::Keep) {
            const auto count = static_cast<std::size_t>(std::ranges::count(arrived_, true));
            return {stop.kind,
                    std::move(stop.failure),
                    {},
                    std::move(placeholdersLeft_),
                    std::move(arrived_),
                    count,
                    !made_.empty()};
        }
        std::vector<Stranded> stranded = rollBack();
        return {stop.kind,
                std::move(stop.failure),
                std::move(stranded),
                std::move(placeholdersLeft_),
                {},
                0,
                false};
    }

    // Undoes the moves made, last first, never replacing anything. An entry whose move back
    // fails stays where it is, is listed, and its earlier moves are not taken back.
    std::vector<Stranded> rollBack() {
        std::vector<Stranded> stranded;
        std::vector<bool> strandedEntry(sources_.size(), false);
        for (std::size_t i = made_.size(); i-- > 0;) {
            const MadeMove& made = made_[i];
            if (strandedEntry[made.entry]) {
                continue;
            }
            const std::string movedFrom = from(made.entry, made.leg);
            const std::string movedTo = to(made.entry, made.leg);
            const MoveResult back = fileSystem_.move(folder_, movedTo, movedFrom);
            if (back.placeholderLeft) {
                placeholdersLeft_.push_back(movedFrom);
            }
            if (back) {
                stranded.push_back({sources_[made.entry], movedTo});
                strandedEntry[made.entry] = true;
            }
        }
        return stranded;
    }

    FileSystem& fileSystem_;
    const UniqueFd& folder_;
    std::span<const std::string> sources_;
    std::span<const std::string> destinations_;
    std::string_view temporarySuffix_;
    OnStop onStop_;
    std::vector<std::size_t> waitsFor_;
    std::vector<bool> done_;
    // At the destination for good: done_ also holds entries parked under a temporary name.
    std::vector<bool> arrived_;
    std::vector<std::size_t> deferred_;
    // The line being settled, kept for the whole batch: most entries move alone, and a
    // vector for each of a million of them costs more than their moves' bookkeeping.
    std::vector<std::size_t> line_;
    std::vector<MadeMove> made_;
    std::vector<std::string> placeholdersLeft_;
    std::size_t entriesDone_ = 0;
};

} // namespace

std::vector<std::string> originalsOf(const std::vector<Stranded>& stranded) {
    std::vector<std::string> originals;
    originals.reserve(stranded.size());
    for (const Stranded& entry : stranded) {
        originals.push_back(entry.original);
    }
    return originals;
}

MovesResult moveBatch(FileSystem& fileSystem, const UniqueFd& folder,
                      std::span<const std::string> sources,
                      std::span<const std::string> destinations, std::string_view temporarySuffix,
                      RunObserver& observer, std::span<const std::uint32_t> order, OnStop onStop) {
    return BatchRun(fileSystem, folder, sources, destinations, temporarySuffix, onStop)
        .carryOut(observer, order);
}

} // namespace brindleaf
