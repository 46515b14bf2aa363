#include "cli/CliRun.hpp"

#include "cli/CommandLine.hpp"
#include "engine/Execution.hpp"
#include "engine/Plan.hpp"

namespace brindleaf::cli {

namespace {

constexpr int exitSuccess = 0;
constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

class StreamReporter final : public FailureReporter {
public:
    explicit StreamReporter(std::FILE* stream) : stream_(stream) {}
    void report(const Error& error) override {
        std::fprintf(stream_, "brindleaf-cli: %s\n", error.description.c_str());
    }

private:
    std::FILE* stream_;
};

void write(std::FILE* out, std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), out);
}

int preview(const Settings& settings, FileSystem& fileSystem, std::FILE* out,
            FailureReporter& reporter) {
    const auto opened = planFolder(fileSystem, settings);
    if (!opened) {
        reporter.report(opened.error());
        return exitFailure;
    }
    const FolderPlan& plan = opened->plan;
    for (std::size_t i = 0; i < plan.names.size(); ++i) {
        write(out, plan.names[i]);
        write(out, "\t\t->\t\t");
        write(out, plan.format.renamedAt(i).value_or(std::string{}));
        write(out, "\n");
    }
    return std::fflush(out) == 0 ? exitSuccess : exitFailure;
}

int apply(const Settings& settings, FileSystem& fileSystem, FailureReporter& reporter) {
    const RunOutcome outcome = renameFiles(settings, fileSystem, reporter);
    const bool succeeded = outcome == RunOutcome::Renamed || outcome == RunOutcome::NothingToRename;
    return succeeded ? exitSuccess : exitFailure;
}

} // namespace

int runCommandLine(std::span<const std::string_view> args, FileSystem& fileSystem, std::FILE* out,
                   std::FILE* err) {
    const auto line = parseCommandLine(args);
    if (!line) {
        std::fprintf(err, "brindleaf-cli: %s\n\n", line.error().c_str());
        write(err, usageText());
        return exitUsage;
    }
    StreamReporter reporter(err);
    switch (line->request) {
    case Request::Help:
        write(out, usageText());
        return exitSuccess;
    case Request::Version:
        std::fprintf(out, "brindleaf-cli %s\n", BRINDLEAF_VERSION);
        return exitSuccess;
    case Request::Preview:
        return preview(line->settings, fileSystem, out, reporter);
    case Request::Apply:
        return apply(line->settings, fileSystem, reporter);
    }
    return exitFailure;
}

} // namespace brindleaf::cli
