#pragma once

#include "engine/Execution.hpp"
#include "support/ForwardingFileSystem.hpp"

#include <sys/wait.h>
#include <unistd.h>

namespace brindleaf::testing {

// Renames the folder of `settings` in a child process that dies on move `dyingMove`, as a
// crash, SIGKILL or a power cut would end it: no rollback, no flush, no journal mark. True
// when the child died there. The run sees the folder through `seenThrough`, or as it is.
inline bool renameKilledAtMove(const Settings& settings, const JournalFolder& journalFolder,
                               std::size_t dyingMove, FileSystem* seenThrough = nullptr) {
    class DyingFileSystem final : public ForwardingFileSystem {
    public:
        DyingFileSystem(std::size_t dyingMove, FileSystem* inner)
            : ForwardingFileSystem(inner), dyingMove_(dyingMove) {}
        MoveResult move(const UniqueFd& folder, const std::string& from,
                        const std::string& to) override {
            if (++moves_ == dyingMove_) {
                ::_exit(9);
            }
            return ForwardingFileSystem::move(folder, from, to);
        }

    private:
        std::size_t dyingMove_;
        std::size_t moves_ = 0;
    };

    const pid_t child = ::fork();
    if (child == 0) {
        DyingFileSystem fileSystem(dyingMove, seenThrough);
        Journals journals(journalFolder);
        renameFiles(settings, fileSystem, journals);
        ::_exit(0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 9;
}

} // namespace brindleaf::testing
