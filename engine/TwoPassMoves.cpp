#include "engine/TwoPassMoves.hpp"

namespace brindleaf {

namespace {

// The moves of one batch, and enough bookkeeping to take them back.
class TwoPassRun {
public:
    TwoPassRun(FileSystem& fileSystem, const UniqueFd& folder, std::span<const std::string> sources,
               std::span<const std::string> destinations, std::string_view temporarySuffix)
        : fileSystem_(fileSystem), folder_(folder), sources_(sources), destinations_(destinations),
          temporarySuffix_(temporarySuffix) {}

    MovesResult carryOut(RunObserver& observer) {
        const std::size_t count = sources_.size();
        const std::size_t total = 2 * count;
        for (; temporaryDone_ < count; ++temporaryDone_) {
            if (!observer.proceed(temporaryDone_, total)) {
                return takeBack(MovesResult::Kind::Cancelled, std::nullopt);
            }
            if (auto failure =
                    move(temporaryDone_, sources_[temporaryDone_], temporaryName(temporaryDone_))) {
                return takeBack(MovesResult::Kind::Failed, std::move(failure));
            }
        }
        for (; finalDone_ < count; ++finalDone_) {
            if (!observer.proceed(count + finalDone_, total)) {
                return takeBack(MovesResult::Kind::Cancelled, std::nullopt);
            }
            if (auto failure =
                    move(finalDone_, temporaryName(finalDone_), destinations_[finalDone_])) {
                return takeBack(MovesResult::Kind::Failed, std::move(failure));
            }
        }
        return {};
    }

private:
    std::string temporaryName(std::size_t position) const {
        return destinations_[position] + std::string(temporarySuffix_);
    }

    std::optional<FailedMove> move(std::size_t entry, const std::string& from,
                                   const std::string& to) {
        const MoveResult result = attempt(from, to);
        if (result) {
            return FailedMove{
                from, to, result.error, result.failedStep, sources_[entry], destinations_[entry]};
        }
        return std::nullopt;
    }

    // One move, noting a placeholder it could not clean up.
    MoveResult attempt(const std::string& from, const std::string& to) {
        MoveResult result = fileSystem_.move(folder_, from, to);
        if (result.placeholderLeft) {
            placeholdersLeft_.push_back(to);
        }
        return result;
    }

    MovesResult takeBack(MovesResult::Kind kind, std::optional<FailedMove> failure) {
        std::vector<Stranded> stranded = rollBack();
        return {kind, std::move(failure), std::move(stranded), std::move(placeholdersLeft_)};
    }

    // Undoes the moves made so far, last first, never replacing anything. An entry whose
    // undo fails stays where it is and is listed.
    std::vector<Stranded> rollBack() {
        std::vector<Stranded> stranded;
        std::vector<bool> strandedAtFinal(finalDone_, false);
        for (std::size_t i = finalDone_; i-- > 0;) {
            if (attempt(destinations_[i], temporaryName(i))) {
                stranded.push_back({sources_[i], destinations_[i]});
                strandedAtFinal[i] = true;
            }
        }
        for (std::size_t i = temporaryDone_; i-- > 0;) {
            if (i < finalDone_ && strandedAtFinal[i]) {
                continue;
            }
            if (attempt(temporaryName(i), sources_[i])) {
                stranded.push_back({sources_[i], temporaryName(i)});
            }
        }
        return stranded;
    }

    FileSystem& fileSystem_;
    const UniqueFd& folder_;
    std::span<const std::string> sources_;
    std::span<const std::string> destinations_;
    std::string_view temporarySuffix_;
    std::size_t temporaryDone_ = 0;
    std::size_t finalDone_ = 0;
    std::vector<std::string> placeholdersLeft_;
};

} // namespace

MovesResult moveInTwoPasses(FileSystem& fileSystem, const UniqueFd& folder,
                            std::span<const std::string> sources,
                            std::span<const std::string> destinations,
                            std::string_view temporarySuffix, RunObserver& observer) {
    return TwoPassRun(fileSystem, folder, sources, destinations, temporarySuffix)
        .carryOut(observer);
}

} // namespace brindleaf
