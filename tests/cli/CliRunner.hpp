#pragma once

#include "cli/CliRun.hpp"
#include "engine/Journals.hpp"
#include "platform/PosixFileSystem.hpp"
#include "support/TemporaryFolder.hpp"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace brindleaf::cli {

// What one run of the command line gave: its exit status and both streams.
struct CliResult {
    int status;
    std::string out;
    std::string err;
};

inline std::string readAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, file)) {
        text.append(buffer, n);
    }
    return text;
}

// Runs the command line in this process, its journals in `state`, so that every test keeps
// its own.
inline CliResult
runCli(const std::vector<std::string>& args,
       const brindleaf::testing::TemporaryFolder& state = brindleaf::testing::TemporaryFolder(),
       std::unique_ptr<FileSystem> fileSystem = std::make_unique<PosixFileSystem>()) {
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    const std::unique_ptr<std::FILE, FileCloser> out(std::tmpfile());
    const std::unique_ptr<std::FILE, FileCloser> err(std::tmpfile());
    const std::vector<std::string_view> views(args.begin(), args.end());
    Journals journals(JournalFolder(state.pathOf("journals")));
    const int status = runCommandLine(views, *fileSystem, journals, out.get(), err.get());
    return {status, readAll(out.get()), readAll(err.get())};
}

} // namespace brindleaf::cli
