#include "cli/CliRun.hpp"
#include "platform/PosixFileSystem.hpp"

#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    brindleaf::PosixFileSystem fileSystem;
    brindleaf::Journals journals(brindleaf::JournalFolder(brindleaf::JournalFolder::defaultPath()));
    return brindleaf::cli::runCommandLine(args, fileSystem, journals, stdout, stderr);
}
