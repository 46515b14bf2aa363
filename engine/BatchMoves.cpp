#include "engine/BatchMoves.hpp"

#include <limits>
#include <unordered_map>

namespace brindleaf {

namespace {

constexpr std::size_t none = std::numeric_limits<std::size_t>::max();

// One move made, enough to take it back.
struct MadeMove {
    std::size_t entry;
    std::string from;
    std::string to;
};

// The moves of one batch in an order where every name is free when it is taken, and the
// record to take them back.
class BatchRun {
public:
    BatchRun(FileSystem& fileSystem, const UniqueFd& folder, std::span<const std::string> sources,
             std::span<const std::string> destinations, std::string_view temporarySuffix)
        : fileSystem_(fileSystem), folder_(folder), sources_(sources), destinations_(destinations),
          temporarySuffix_(temporarySuffix), waitsFor_(sources.size(), none),
          done_(sources.size(), false) {
        // Each destination is at most one entry's source, and each source at most one
        // entry's destination: the entries form chains and cycles.
        std::unordered_map<std::string_view, std::size_t> entryNamed;
        entryNamed.reserve(sources.size());
        for (std::size_t i = 0; i < sources.size(); ++i) {
            entryNamed.emplace(sources[i], i);
        }
        for (std::size_t i = 0; i < sources.size(); ++i) {
            if (sources[i] == destinations[i]) {
                done_[i] = true;
                ++entriesDone_;
                continue;
            }
            if (const auto holder = entryNamed.find(destinations[i]); holder != entryNamed.end()) {
                waitsFor_[i] = holder->second;
            }
        }
    }

    MovesResult carryOut(RunObserver& observer) {
        for (std::size_t i = 0; i < sources_.size(); ++i) {
            if (!done_[i]) {
                if (auto stop = settleChainFrom(i, observer)) {
                    return takeBack(std::move(*stop));
                }
            }
        }
        // Moves the file system refused for a name the plan believed free end last, when
        // every other name has been vacated.
        for (const std::size_t entry : deferred_) {
            if (auto stop = step(entry, temporaryName(entry), destinations_[entry], observer)) {
                return takeBack(std::move(*stop));
            }
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
        std::vector<std::size_t> line{first};
        std::size_t next = waitsFor_[first];
        // Distinct names make every line end or close; the bound guards against a plan that
        // breaks that promise.
        while (next != none && !done_[next] && next != first && line.size() <= sources_.size()) {
            line.push_back(next);
            next = waitsFor_[next];
        }
        const bool cycle = next == first;
        if (cycle) {
            if (auto stop = step(first, sources_[first], temporaryName(first), observer)) {
                return stop;
            }
        }
        for (std::size_t i = line.size(); i-- > (cycle ? 1 : 0);) {
            if (auto stop = moveHome(line[i], observer)) {
                return stop;
            }
        }
        if (cycle) {
            if (auto stop = step(first, temporaryName(first), destinations_[first], observer)) {
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
        const MoveResult result = attempt(entry, sources_[entry], destinations_[entry]);
        if (!result) {
            finish(entry);
            return std::nullopt;
        }
        if (result.error != std::errc::file_exists) {
            return failed(entry, sources_[entry], destinations_[entry], result);
        }
        if (auto stop = step(entry, sources_[entry], temporaryName(entry), observer)) {
            return stop;
        }
        done_[entry] = true;
        deferred_.push_back(entry);
        return std::nullopt;
    }

    std::optional<Stop> step(std::size_t entry, const std::string& from, const std::string& to,
                             RunObserver& observer) {
        if (!observer.proceed(entriesDone_, sources_.size())) {
            return Stop{MovesResult::Kind::Cancelled, std::nullopt};
        }
        const MoveResult result = attempt(entry, from, to);
        if (result) {
            return failed(entry, from, to, result);
        }
        return std::nullopt;
    }

    Stop failed(std::size_t entry, const std::string& from, const std::string& to,
                const MoveResult& result) const {
        return {MovesResult::Kind::Failed, FailedMove{from, to, result.error, result.failedStep,
                                                      sources_[entry], destinations_[entry]}};
    }

    void finish(std::size_t entry) {
        done_[entry] = true;
        ++entriesDone_;
    }

    // One move, recorded when made; a placeholder it could not clean up is noted.
    MoveResult attempt(std::size_t entry, const std::string& from, const std::string& to) {
        MoveResult result = fileSystem_.move(folder_, from, to);
        if (result.placeholderLeft) {
            placeholdersLeft_.push_back(to);
        }
        if (!result) {
            made_.push_back({entry, from, to});
        }
        return result;
    }

    std::string temporaryName(std::size_t entry) const {
        return destinations_[entry] + std::string(temporarySuffix_);
    }

    MovesResult takeBack(Stop stop) {
        std::vector<Stranded> stranded = rollBack();
        return {stop.kind, std::move(stop.failure), std::move(stranded),
                std::move(placeholdersLeft_)};
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
            const MoveResult back = fileSystem_.move(folder_, made.to, made.from);
            if (back.placeholderLeft) {
                placeholdersLeft_.push_back(made.from);
            }
            if (back) {
                stranded.push_back({sources_[made.entry], made.to});
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
    std::vector<std::size_t> waitsFor_;
    std::vector<bool> done_;
    std::vector<std::size_t> deferred_;
    std::vector<MadeMove> made_;
    std::vector<std::string> placeholdersLeft_;
    std::size_t entriesDone_ = 0;
};

} // namespace

MovesResult moveBatch(FileSystem& fileSystem, const UniqueFd& folder,
                      std::span<const std::string> sources,
                      std::span<const std::string> destinations, std::string_view temporarySuffix,
                      RunObserver& observer) {
    return BatchRun(fileSystem, folder, sources, destinations, temporarySuffix).carryOut(observer);
}

} // namespace brindleaf
