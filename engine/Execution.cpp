#include "engine/Execution.hpp"

#include "engine/NameFormat.hpp"
#include "engine/Plan.hpp"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brindleaf {

namespace {

class ProceedAlways final : public RunObserver {
public:
    bool proceed(std::size_t, std::size_t) override { return true; }
};

struct FailedMove {
    std::string from;
    std::string to;
    std::error_code code;
};

// An entry that could not be given its original name back.
struct Stranded {
    std::string original;
    std::string current;
};

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

std::string describeStranded(const std::vector<Stranded>& stranded) {
    if (stranded.empty()) {
        return " Every entry is back under its original name.";
    }
    std::string text = stranded.size() == 1
                           ? std::string(" 1 entry could not be given its original name back:")
                           : " " + std::to_string(stranded.size()) +
                                 " entries could not be given their original names back:";
    for (const Stranded& entry : stranded) {
        text += "\n" + quoted(entry.original) + " is now " + quoted(entry.current);
    }
    return text;
}

// The moves of one run, and enough bookkeeping to take them back.
class TwoPassRun {
public:
    TwoPassRun(FileSystem& fileSystem, const UniqueFd& folder,
               std::span<const std::string> originals, std::vector<std::string> finals)
        : fileSystem_(fileSystem), folder_(folder), originals_(originals),
          finals_(std::move(finals)) {}

    // Moves everything; on a failure or a cancel, takes back what was done.
    RunOutcome carryOut(RunObserver& observer, FailureReporter& reporter) {
        const std::size_t count = originals_.size();
        const std::size_t total = 2 * count;
        for (; temporaryDone_ < count; ++temporaryDone_) {
            if (!observer.proceed(temporaryDone_, total)) {
                return cancel(reporter);
            }
            const auto& original = originals_[temporaryDone_];
            if (auto failure = move(original, temporaryName(temporaryDone_))) {
                return fail(*failure, reporter);
            }
        }
        for (; finalDone_ < count; ++finalDone_) {
            if (!observer.proceed(count + finalDone_, total)) {
                return cancel(reporter);
            }
            if (auto failure = move(temporaryName(finalDone_), finals_[finalDone_])) {
                return fail(*failure, reporter);
            }
        }
        return RunOutcome::Renamed;
    }

private:
    std::string temporaryName(std::size_t position) const {
        return finals_[position] + std::string(NameFormat::temporarySuffix);
    }

    std::optional<FailedMove> move(const std::string& from, const std::string& to) {
        if (const std::error_code code = fileSystem_.move(folder_, from, to)) {
            return FailedMove{from, to, code};
        }
        return std::nullopt;
    }

    RunOutcome fail(const FailedMove& failure, FailureReporter& reporter) {
        const std::vector<Stranded> stranded = rollBack();
        reporter.report({failure.code, "Cannot rename " + quoted(failure.from) + " to " +
                                           quoted(failure.to) + ": " + failure.code.message() +
                                           "." + describeStranded(stranded)});
        return RunOutcome::Failed;
    }

    RunOutcome cancel(FailureReporter& reporter) {
        const std::vector<Stranded> stranded = rollBack();
        if (stranded.empty()) {
            return RunOutcome::Cancelled;
        }
        reporter.report({std::make_error_code(std::errc::operation_canceled),
                         "The renaming was cancelled." + describeStranded(stranded)});
        return RunOutcome::Failed;
    }

    // Undoes the moves made so far, last first, never replacing anything. An entry whose
    // undo fails stays where it is and is listed.
    std::vector<Stranded> rollBack() {
        std::vector<Stranded> stranded;
        std::vector<bool> strandedAtFinal(finalDone_, false);
        for (std::size_t i = finalDone_; i-- > 0;) {
            if (fileSystem_.move(folder_, finals_[i], temporaryName(i))) {
                stranded.push_back({originals_[i], finals_[i]});
                strandedAtFinal[i] = true;
            }
        }
        for (std::size_t i = temporaryDone_; i-- > 0;) {
            if (i < finalDone_ && strandedAtFinal[i]) {
                continue;
            }
            if (fileSystem_.move(folder_, temporaryName(i), originals_[i])) {
                stranded.push_back({originals_[i], temporaryName(i)});
            }
        }
        return stranded;
    }

    FileSystem& fileSystem_;
    const UniqueFd& folder_;
    std::span<const std::string> originals_;
    std::vector<std::string> finals_;
    std::size_t temporaryDone_ = 0;
    std::size_t finalDone_ = 0;
};

std::vector<std::string> newNames(const NameFormat& format, std::size_t count) {
    std::vector<std::string> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        names.push_back(format.renamedAt(i).value_or(std::string{}));
    }
    return names;
}

} // namespace

RunOutcome renameFiles(const Settings& settings, FileSystem& fileSystem, FailureReporter& reporter,
                       RunObserver& observer) {
    if (settings.targetDir.empty()) {
        return RunOutcome::NothingToRename;
    }
    const auto opened = planFolder(fileSystem, settings);
    if (!opened) {
        reporter.report(opened.error());
        return RunOutcome::Failed;
    }
    return renameInFolder(fileSystem, opened->folder, opened->plan, reporter, observer);
}

RunOutcome renameInFolder(FileSystem& fileSystem, const UniqueFd& folder, const FolderPlan& plan,
                          FailureReporter& reporter, RunObserver& observer) {
    if (plan.names.empty()) {
        return RunOutcome::NothingToRename;
    }
    TwoPassRun run(fileSystem, folder, plan.names, newNames(plan.format, plan.names.size()));
    return run.carryOut(observer, reporter);
}

RunOutcome renameFiles(const Settings& settings, FileSystem& fileSystem,
                       FailureReporter& reporter) {
    ProceedAlways proceedAlways;
    return renameFiles(settings, fileSystem, reporter, proceedAlways);
}

} // namespace brindleaf
