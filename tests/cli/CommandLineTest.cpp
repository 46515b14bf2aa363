#include "cli/CliRun.hpp"
#include "cli/UndoWords.hpp"
#include "platform/PosixFileSystem.hpp"
#include "support/KilledRun.hpp"
#include "support/PhotoFiles.hpp"
#include "support/ScriptedMoveCalls.hpp"
#include "support/TemporaryFolder.hpp"
#include "tests/cli/CliRunner.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace brindleaf::cli {
namespace {

using testing::TemporaryFolder;
using NameSet = std::set<std::string>;

using Result = CliResult;

// Every entry stays one line for a person, whatever its name holds; --null gives scripts
// the exact bytes.
TEST(CommandLine, PreviewShowsOneLineAnEntryAndNullGivesExactBytes) {
    TemporaryFolder folder;
    for (const char* name : {"b.jpg", "caf\xE9", "a b.jpg", "x\ny", "t\t\t->\t\tu", "e\x1B[2Jf"}) {
        folder.addFile(name);
    }
    const std::vector<std::string> settings{"--prefix", "img_", "--postfix=.jpg", "--start", "0",
                                            "--digits", "3"};
    auto args = settings;
    args.push_back(folder.path());
    const Result human = runCli(args);
    EXPECT_EQ(human.status, 0) << human.err;
    EXPECT_EQ(human.out, "a b.jpg\t\t->\t\timg_000.jpg\n"
                         "b.jpg\t\t->\t\timg_001.jpg\n"
                         "$'caf\\xE9'\t\t->\t\timg_002.jpg\n"
                         "$'e\\e[2Jf'\t\t->\t\timg_003.jpg\n"
                         "$'t\\t\\t->\\t\\tu'\t\t->\t\timg_004.jpg\n"
                         "$'x\\ny'\t\t->\t\timg_005.jpg\n");

    args.insert(args.begin(), "-0");
    const Result exact = runCli(args);
    constexpr char bytes[] = "a b.jpg\0img_000.jpg\0b.jpg\0img_001.jpg\0caf\xE9\0img_002.jpg\0"
                             "e\x1B[2Jf\0img_003.jpg\0t\t\t->\t\tu\0img_004.jpg\0x\ny\0img_005.jpg";
    EXPECT_EQ(exact.out, std::string(bytes, sizeof bytes)); // the closing NUL is the last one
    EXPECT_EQ(folder.names().size(), 6U);
    EXPECT_TRUE(folder.names().contains("x\ny"));
}

// Each naming option reaches the engine: the preview of one folder under each, which lists
// only the entries that get numbers.
TEST(CommandLine, NamingOptionsReachThePreview) {
    TemporaryFolder folder;
    for (const char* name : {"file1", "file9", "file10.JPG", ".h"}) {
        folder.addFile(name);
    }
    folder.addFolder("d.d");
    int modified = 0;
    for (const char* name : {"file10.JPG", "file9", "d.d", "file1", ".h"}) {
        testing::setModified(folder.pathOf(name), ++modified);
    }
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--no-natsort"}, ".h>1 d.d>2 file1>3 file10.JPG>4 file9>5 "},
        {{"--reverse"}, "file10.JPG>1 file9>2 file1>3 d.d>4 .h>5 "},
        {{"--keep-extension", "--prefix", "x"},
         ".h>x1 d.d>x2 file1>x3 file9>x4 file10.JPG>x5.JPG "},
        {{"--order", "modified"}, "file10.JPG>1 file9>2 d.d>3 file1>4 .h>5 "},
        {{"--order=taken", "--reverse"}, ".h>1 file1>2 d.d>3 file9>4 file10.JPG>5 "},
        {{"--skip-hidden", "--files-only"}, "file1>1 file9>2 file10.JPG>3 "},
        {{"--only", "jpg", "--keep-related"}, "file10.JPG>1.JPG "},
    };
    for (const auto& [options, preview] : cases) {
        std::vector<std::string> args = options;
        args.insert(args.end(), {"-0", "--digits", "", folder.path()});
        std::string shown = runCli(args).out;
        int fields = 0;
        for (char& byte : shown) {
            byte = byte != '\0' ? byte : (fields++ % 2 == 0 ? '>' : ' ');
        }
        EXPECT_EQ(shown, preview) << options.front();
    }
}

TEST(CommandLine, ApplySaysWhatItDidUnlessQuiet) {
    TemporaryFolder folder;
    folder.addFile("0001");
    folder.addFile("0002");
    folder.addFile("x");
    const Result result = runCli({"--apply", folder.path()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "brindleaf-cli: Renamed 1 entry in \"" + folder.path() +
                              "\". 2 entries had their new names already.\n");
    EXPECT_EQ(folder.contentOf("0003"), "x");
    const Result quiet = runCli({"-q", "--apply", "--suffix", ".txt", folder.path()});
    EXPECT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(folder.names(), (NameSet{"0001.txt", "0002.txt", "0003.txt"}));
}

// A run that changes nothing is no run, and each undo takes back one more run, so the
// names the folder had before its first run are always within reach.
TEST(CommandLine, RepeatedRunMovesNothingAndUndoWalksBackRunByRun) {
    TemporaryFolder folder;
    TemporaryFolder state;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        folder.addFile(name);
    }
    const auto cli = [&](std::vector<std::string> args) {
        args.push_back(folder.path());
        return runCli(args, state);
    };
    ASSERT_EQ(cli({"--apply", "--prefix", "p_"}).status, 0);
    const Result repeated = cli({"--apply", "--prefix", "p_"});
    EXPECT_EQ(repeated.status, 0);
    EXPECT_EQ(repeated.err, "brindleaf-cli: Nothing to rename: every entry of \"" + folder.path() +
                                "\" already has its new name.\n");
    ASSERT_EQ(cli({"--apply", "--prefix", "q_"}).status, 0);
    ASSERT_EQ(cli({"--apply", "--start", "7"}).status, 0);

    const Result history = cli({"--history"});
    EXPECT_EQ(history.status, 0);
    EXPECT_NE(history.out.find("3 entries  finished  (can be undone)\n"), std::string::npos);
    EXPECT_EQ(std::ranges::count(history.out, '\n'), 3) << history.out;

    const Result first = cli({"--undo"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(first.err.starts_with("brindleaf-cli: Gave 3 entries of the run of ")) << first.err;
    EXPECT_EQ(folder.names(), (NameSet{"q_0001", "q_0002", "q_0003"}));
    EXPECT_EQ(cli({"--undo"}).status, 0);
    EXPECT_EQ(folder.names(), (NameSet{"p_0001", "p_0002", "p_0003"}));
    EXPECT_EQ(cli({"--undo"}).status, 0);
    EXPECT_EQ(folder.names(), (NameSet{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(folder.contentOf("a.jpg"), "a.jpg");
    const Result none = cli({"--undo"});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.starts_with("brindleaf-cli: Nothing to undo")) << none.err;
    EXPECT_EQ(cli({"--history"}).out.find("can be undone"), std::string::npos);
}

// Fills `folder` with "0001", "0002" and "a", and numbers it in reverse in a process that
// dies after the first move, journalling under `state`: "0001" is left as "0003".
bool interruptedRunIn(const TemporaryFolder& folder, const TemporaryFolder& state) {
    for (const char* name : {"0001", "0002", "a"}) {
        folder.addFile(name);
    }
    Settings settings;
    settings.targetDir = folder.path();
    settings.isReverse = true;
    return testing::renameKilledAtMove(settings, JournalFolder(state.pathOf("journals")), 2);
}

// A script must tell an undo that gave back only some names from one that gave back all.
TEST(CommandLine, UndoThatGaveBackOnlySomeNamesExitsOne) {
    TemporaryFolder folder;
    TemporaryFolder state;
    folder.addFile("x");
    folder.addFile("y");
    ASSERT_EQ(runCli({"--apply", folder.path()}, state).status, 0);
    folder.addFile("x"); // another program's file takes the name meanwhile
    const Result partly = runCli({"--undo", folder.path()}, state);
    EXPECT_EQ(partly.status, 1) << partly.err;
    EXPECT_NE(partly.err.find("x: another entry holds its original name"), std::string::npos)
        << partly.err;
    EXPECT_EQ(folder.contentOf("y"), "y");
    EXPECT_EQ(folder.contentOf("0001"), "x");

    std::filesystem::remove(folder.pathOf("x"));
    const Result rest = runCli({"--undo", folder.path()}, state);
    EXPECT_EQ(rest.status, 0) << rest.err;
    EXPECT_NE(rest.err.find("Gave 1 entry of the run"), std::string::npos) << rest.err;
    EXPECT_NE(rest.err.find("its original name back."), std::string::npos) << rest.err;
    EXPECT_EQ(folder.names(), (NameSet{"x", "y"}));
}

// An undo that gave back every entry its damaged journal could still tell, but not those it
// lost, has not given back every name: it exits 1.
TEST(CommandLine, UndoOfAJournalThatLostEntriesExitsOne) {
    TemporaryFolder folder;
    TemporaryFolder state;
    for (const char* name : {"x", "y", "z"}) {
        folder.addFile(name);
    }
    ASSERT_EQ(runCli({"--apply", "--reverse", folder.path()}, state).status, 0);
    const JournalFolder journals(state.pathOf("journals"));
    const std::string journal = journals.path() + "/" + journals.names()->front();
    std::filesystem::resize_file(journal, std::filesystem::file_size(journal) - 30);
    const Result undone = runCli({"--undo", folder.path()}, state);
    EXPECT_EQ(undone.status, 1) << undone.err;
    EXPECT_NE(undone.err.find("could not be read"), std::string::npos) << undone.err;
    EXPECT_EQ(std::ranges::count_if(folder.names(),
                                    [](const std::string& name) { return name.size() == 1; }),
              2);
}

// An undo that stopped or failed part way says how many names are back, never that the
// folder is as the undo found it.
TEST(CommandLine, UnfinishedUndoSaysHowManyNamesAreBack) {
    struct Case {
        UndoOutcome outcome;
        bool notRecorded;
        bool notFlushed;
        std::size_t restored;
        std::size_t toRestore;
        const char* says;
    };
    const Case cases[] = {
        {UndoOutcome::Failed, true, false, 19998, 20000,
         "19998 of 20000 entries are back under the original name; the record could not be "
         "updated (No space left on device)"},
        {UndoOutcome::Failed, true, false, 20000, 20000, "completes the record"},
        {UndoOutcome::Failed, true, true, 5, 5, "the folder could not be flushed"},
        {UndoOutcome::Cancelled, false, false, 3, 8, "stopped. 3 of 8 entries are back"},
        {UndoOutcome::Cancelled, false, false, 3, 8, "gives back the rest"},
        {UndoOutcome::Cancelled, false, false, 1, 1, "1 of 1 entry is back"},
    };
    for (const Case& test : cases) {
        UndoReport report;
        report.outcome = test.outcome;
        report.notRecorded = test.notRecorded;
        report.notFlushed = test.notFlushed;
        report.restored = test.restored;
        report.toRestore = test.toRestore;
        report.error = std::make_error_code(std::errc::no_space_on_device);
        const std::string text = describeUndo(report, "/trip", "/state");
        EXPECT_NE(text.find(test.says), std::string::npos) << text;
        EXPECT_EQ(text.find("Every entry is back"), std::string::npos) << text;
        EXPECT_EQ(text.find("Nothing was moved"), std::string::npos) << text;
    }
}

// The names an interrupted run left are not the user's own names to number.
TEST(CommandLine, InterruptedFolderIsNotPreviewedUntilUndone) {
    TemporaryFolder folder;
    TemporaryFolder state;
    ASSERT_TRUE(interruptedRunIn(folder, state));
    const Result refused = runCli({folder.path()}, state);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("did not finish"), std::string::npos) << refused.err;
    EXPECT_EQ(runCli({"--undo", folder.path()}, state).status, 0);
    EXPECT_EQ(folder.names(), (NameSet{"0001", "0002", "a"}));
    EXPECT_EQ(runCli({folder.path()}, state).status, 0);
}

// Any last run that is not done refuses the preview as it refuses a run: one that was
// interrupted, one whose record is damaged, one another process is making now.
TEST(CommandLine, PreviewRefusesEveryUnfinishedLastRun) {
    TemporaryFolder folder;
    TemporaryFolder state;
    ASSERT_TRUE(interruptedRunIn(folder, state));
    const JournalFolder journals(state.pathOf("journals"));
    const std::string name = journals.names()->front();
    const auto refusal = [&](const std::string& words) {
        const Result refused = runCli({folder.path()}, state);
        EXPECT_EQ(refused.status, 1) << words;
        EXPECT_EQ(refused.out, "") << words;
        EXPECT_NE(refused.err.find(words), std::string::npos) << refused.err;
    };
    refusal("did not finish");
    {
        const auto held = journals.open(name);
        ASSERT_TRUE(held.has_value());
        refusal("Another run");
    }
    const std::string journal = journals.path() + "/" + name;
    std::string bytes = *journals.read(name);
    bytes[bytes.find("running")] = 'X';
    std::ofstream(journal, std::ios::binary | std::ios::trunc) << bytes;
    refusal("damaged");
}

// A journal cut short would keep its folder refused for good; --forget sets it aside, and
// only a journal that undo cannot read.
TEST(CommandLine, ForgetSetsADamagedJournalAsideAndMovesNothing) {
    TemporaryFolder folder;
    TemporaryFolder state;
    ASSERT_TRUE(interruptedRunIn(folder, state));
    const JournalFolder journals(state.pathOf("journals"));
    const Result intact = runCli({"--forget", folder.path()}, state);
    EXPECT_EQ(intact.status, 1);
    EXPECT_NE(intact.err.find("can be read"), std::string::npos) << intact.err;

    const std::string journal = journals.path() + "/" + journals.names()->front();
    std::filesystem::resize_file(journal, std::filesystem::file_size(journal) - 20);
    const NameSet halfway = folder.names();
    const Result forget = runCli({"--forget", folder.path()}, state);
    EXPECT_EQ(forget.status, 0) << forget.err;
    EXPECT_NE(forget.err.find("0001 is now \"0003\""), std::string::npos) << forget.err;
    EXPECT_EQ(folder.names(), halfway);
    EXPECT_TRUE(std::filesystem::exists(journal + ".set-aside"));
    EXPECT_EQ(runCli({folder.path()}, state).status, 0);
}

// One entry left under its new name is one entry, in the singular.
TEST(CommandLine, ForgetCountsASingleStrandedEntry) {
    TemporaryFolder folder;
    TemporaryFolder state;
    folder.addFile("a");
    ASSERT_EQ(runCli({"--apply", folder.path()}, state).status, 0);
    const JournalFolder journals(state.pathOf("journals"));
    const std::string journal = journals.path() + "/" + journals.names()->front();
    std::filesystem::resize_file(journal, std::filesystem::file_size(journal) - 20);
    const Result forget = runCli({"--forget", folder.path()}, state);
    EXPECT_EQ(forget.status, 0) << forget.err;
    EXPECT_NE(forget.err.find("of those, 1 is still under a new or temporary name:"),
              std::string::npos)
        << forget.err;
}

// A journal folder others may write to hides no run: every request that reads the runs
// refuses, naming the journal folder and why, and moves nothing.
TEST(CommandLine, UntrustedJournalFolderRefusesEveryRequestThatReadsRuns) {
    TemporaryFolder folder;
    TemporaryFolder state;
    folder.addFile("a");
    ASSERT_EQ(runCli({"--apply", folder.path()}, state).status, 0);
    const NameSet renamed = folder.names();
    ASSERT_EQ(::chmod(state.pathOf("journals").c_str(), 0770), 0);
    for (const std::vector<std::string>& request : {std::vector<std::string>{folder.path()},
                                                    {"--history", folder.path()},
                                                    {"--undo", folder.path()},
                                                    {"--forget", folder.path()}}) {
        const Result refused = runCli(request, state);
        EXPECT_EQ(refused.status, 1) << request[0];
        EXPECT_EQ(refused.out, "") << request[0];
        EXPECT_NE(refused.err.find(state.pathOf("journals")), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("other users may write to it"), std::string::npos)
            << refused.err;
    }
    EXPECT_EQ(folder.names(), renamed);
}

// A finished run whose journal was cut short afterwards is damaged for every request, not
// only for undo.
TEST(CommandLine, FinishedRunWithATruncatedJournalIsDamaged) {
    TemporaryFolder folder;
    TemporaryFolder state;
    folder.addFile("a");
    ASSERT_EQ(runCli({"--apply", folder.path()}, state).status, 0);
    const JournalFolder journals(state.pathOf("journals"));
    const std::string journal = journals.path() + "/" + journals.names()->front();
    std::filesystem::resize_file(journal, std::filesystem::file_size(journal) - 10);
    const Result history = runCli({"--history", folder.path()}, state);
    EXPECT_NE(history.out.find("damaged journal"), std::string::npos) << history.out;
    EXPECT_EQ(history.out.find("can be undone"), std::string::npos) << history.out;
    const Result preview = runCli({folder.path()}, state);
    EXPECT_EQ(preview.status, 1);
    EXPECT_NE(preview.err.find("--forget"), std::string::npos) << preview.err;
    EXPECT_EQ(runCli({"--forget", folder.path()}, state).status, 0);
    EXPECT_EQ(runCli({folder.path()}, state).status, 0);
}

// A journal replaced by a FIFO or a link reads as its folder's damaged run, as one cut
// short does: never waited on, never followed to the journal it points to.
TEST(CommandLine, JournalReplacedByAFifoOrALinkIsDamaged) {
    for (const bool fifo : {true, false}) {
        TemporaryFolder folder;
        TemporaryFolder state;
        TemporaryFolder elsewhere;
        folder.addFile("a");
        ASSERT_EQ(runCli({"--apply", folder.path()}, state).status, 0);
        const JournalFolder journals(state.pathOf("journals"));
        const std::string journal = journals.path() + "/" + journals.names()->front();
        std::filesystem::rename(journal, elsewhere.pathOf("journal"));
        ASSERT_EQ(fifo ? ::mkfifo(journal.c_str(), 0600)
                       : ::symlink(elsewhere.pathOf("journal").c_str(), journal.c_str()),
                  0);
        const Result history = runCli({"--history", folder.path()}, state);
        EXPECT_NE(history.out.find("damaged journal"), std::string::npos) << history.out;
        EXPECT_EQ(history.out.find("can be undone"), std::string::npos) << history.out;
        // Nothing of the journal can be read, so neither can how many entries it names.
        EXPECT_NE(history.out.find("entries unknown"), std::string::npos) << history.out;
        const Result preview = runCli({folder.path()}, state);
        EXPECT_EQ(preview.status, 1);
        EXPECT_NE(preview.err.find("--forget"), std::string::npos) << preview.err;
        const Result undo = runCli({"--undo", folder.path()}, state);
        EXPECT_EQ(undo.status, 1);
        EXPECT_NE(undo.err.find("--forget"), std::string::npos) << undo.err;
        EXPECT_EQ(folder.names(), NameSet{"0001"});
        const Result forget = runCli({"--forget", folder.path()}, state);
        EXPECT_EQ(forget.status, 0) << forget.err;
        EXPECT_NE(forget.err.find("How many entries it names cannot be told; 0 can be read"),
                  std::string::npos)
            << forget.err;
        EXPECT_EQ(runCli({folder.path()}, state).status, 0);
    }
}

// A damaged journal whose entries can still be read gives them back; one that tells no
// entry refuses, moves nothing, and points to --forget.
TEST(CommandLine, UndoGivesBackWhatADamagedJournalCanTell) {
    for (const bool entriesReadable : {true, false}) {
        TemporaryFolder folder;
        TemporaryFolder state;
        ASSERT_TRUE(interruptedRunIn(folder, state));
        const JournalFolder journals(state.pathOf("journals"));
        const std::string journal = journals.path() + "/" + journals.names()->front();
        std::string bytes;
        {
            std::ifstream in(journal, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        // Cut within the checksum, or right after the head, before the first entry.
        std::filesystem::resize_file(
            journal, entriesReadable ? bytes.size() - 20
                                     : bytes.find('\n', bytes.find("\nentries ") + 1) + 1);
        const NameSet halfway = folder.names();
        const Result undo = runCli({"--undo", folder.path()}, state);
        if (entriesReadable) {
            EXPECT_EQ(undo.status, 0) << undo.err;
            EXPECT_EQ(folder.names(), (NameSet{"0001", "0002", "a"}));
            EXPECT_EQ(folder.contentOf("0001"), "0001");
            EXPECT_EQ(runCli({folder.path()}, state).status, 0);
        } else {
            EXPECT_EQ(undo.status, 1);
            EXPECT_NE(undo.err.find("Nothing was moved"), std::string::npos) << undo.err;
            EXPECT_NE(undo.err.find("--forget"), std::string::npos) << undo.err;
            EXPECT_EQ(folder.names(), halfway);
        }
    }
}

TEST(CommandLine, FailuresExitOneWithAMessage) {
    TemporaryFolder folder;
    folder.addFile("a");
    for (const auto& args :
         std::vector<std::vector<std::string>>{{folder.pathOf("missing")},
                                               {"--apply", folder.pathOf("missing")},
                                               {"--prefix", "x/", folder.path()},
                                               {"--apply", "--prefix", "x/", folder.path()}}) {
        const Result result = runCli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("brindleaf-cli: Cannot ")) << result.err;
    }
    EXPECT_EQ(folder.names(), NameSet{"a"});
    // The folder is named as it was given, with what the system said of it.
    EXPECT_EQ(runCli({"--", "--apply"}).err,
              "brindleaf-cli: Cannot read folder \"--apply\": No such file or directory\n");
    EXPECT_EQ(runCli({folder.pathOf("a")}).err, "brindleaf-cli: Cannot read folder \"" +
                                                    folder.pathOf("a") + "\": Not a directory\n");
}

// What the file system refused is said in plain words, and no temporary name shows.
TEST(CommandLine, RefusedRenameSaysWhichStepFailed) {
    TemporaryFolder folder;
    folder.addFile("a");
    auto calls = std::make_unique<testing::ScriptedMoveCalls>();
    calls->refuseFlag = true;
    calls->refuseRenameOntoFile = EPERM;
    const Result result = runCli({"--apply", folder.path()}, TemporaryFolder(),
                                 std::make_unique<PosixFileSystem>(std::move(calls)));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "brindleaf-cli: Cannot rename \"a\" to \"0001\": this file system "
                          "cannot rename without replacing, and it refused to move the entry onto "
                          "the empty placeholder that held its new name (Operation not "
                          "permitted). Every entry is back under its original name.\n");
    EXPECT_EQ(folder.names(), NameSet{"a"});
}

// The options for spaces change the order only, as their names say; the names of the first
// releases still work, with and without "--no-".
TEST(CommandLine, SpaceOptionsOrderAndKeepTheirOldNames) {
    TemporaryFolder folder;
    for (const char* name : {"a e", "a_d", "ab"}) {
        folder.addFile(name);
    }
    const auto preview = [&](std::vector<std::string> options) {
        options.push_back(folder.path());
        const Result result = runCli(options);
        EXPECT_EQ(result.status, 0) << result.err;
        return result.out;
    };
    const std::string byDefault = preview({});
    EXPECT_NE(byDefault.find("a e"), std::string::npos);
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> spellings{
        {{"--no-sort-ignoring-spaces"}, {"--no-remove-spaces"}},
        {{"--no-sort-ignoring-spaces", "--sort-spaces-as-underscores"},
         {"--no-remove-spaces", "--replace-spaces"}},
        {{"--sort-ignoring-spaces"}, {"--remove-spaces"}},
    };
    for (const auto& [now, old] : spellings) {
        EXPECT_EQ(preview(now), preview(old)) << now.front();
    }
    const std::string withSpaces = preview({"--no-sort-ignoring-spaces"});
    EXPECT_NE(withSpaces, byDefault);
    EXPECT_NE(preview({"--no-sort-ignoring-spaces", "--sort-spaces-as-underscores"}), withSpaces);
    EXPECT_EQ(folder.names(), (NameSet{"a e", "a_d", "ab"}));
    const std::string help = runCli({"--help"}).out;
    EXPECT_NE(help.find("--remove-spaces is its old name"), std::string::npos);
    EXPECT_NE(help.find("--replace-spaces is its old name"), std::string::npos);
}

// A typo in a script must not rename with other numbers, nor undo when it meant to rename.
TEST(CommandLine, BadUsageExitsTwoNamingTheOptionHelpAndVersionExitZero) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{}, "no folder"},
        {{"--bogus", "x"}, "--bogus"},
        {{"--prefix"}, "--prefix"},
        {{"a", "b"}, "more than one folder"},
        {{""}, "no folder"},
        {{"--start", "abc", "x"}, "--start"},
        {{"--start=5x", "x"}, "--start"},
        {{"--start", "", "x"}, "--start needs a number"},
        {{"--digits", "four", "x"}, "--digits"},
        {{"--apply", "--undo", "x"}, "--undo"},
        {{"--history", "--apply", "x"}, "--history"},
        {{"--undo", "--history", "x"}, "--history"},
        {{"--undo", "--prefix", "p", "x"}, "--undo"},
        {{"--history", "--no-natsort", "x"}, "--history"},
        {{"--order", "size", "x"}, "--order"},
        {{"--undo", "--only", "jpg", "x"}, "--undo"},
        // A list of no extension would number every entry where a script meant some.
        {{"--only", "", "x"}, "--only needs"},
        {{"--only=", "x"}, "--only needs"},
        {{"--only", ",", "x"}, "--only needs"},
        {{"--only", " , ", "x"}, "--only needs"},
        {{"--only", ".", "x"}, "\".\" is no extension"},
        {{"--only", "*.", "x"}, "\"*.\" is no extension"},
        {{"--only", "*", "x"}, "\"*\" is no extension"},
        {{"--only", "jpg,j?g", "x"}, "\"j?g\" is no extension"},
        {{"--only", "IMG_*.jpg", "x"}, "\"IMG_*.jpg\" is no extension"},
        {{"--only", "a/jpg", "x"}, "\"a/jpg\" is no extension"},
        {{"--only", "..", "x"}, "\"..\" is no extension"},
        {{"--only", "*..", "x"}, "\"*..\" is no extension"},
        {{"--only", "jpg,..", "x"}, "\"..\" is no extension"},
        {{"--only", "...", "x"}, "\"...\" is no extension"},
        {{"--only", "jpg.", "x"}, "\"jpg.\" is no extension"},
        {{"--only", "..jpg", "x"}, "\"..jpg\" is no extension"},
        {{"--only", "tar..gz", "x"}, "\"tar..gz\" is no extension"},
        {{"--only", "/", "x"}, "\"/\" is no extension"},
        {{"--only", "png ./jpg", "x"}, "\"./jpg\" is no extension"},
        // A value is shown as a shell would read it back, never steering the terminal.
        {{"--only", "j\x1bpg/", "x"}, "\"$'j\\epg/'\" is no extension"},
        {{"--digits", "4\n", "x"}, "not \"$'4\\n'\""},
        // Above 2^63 - 1 the window reads a start as 0.
        {{"--start", "9223372036854775808", "x"}, "--start takes a number up to"},
        {{"--start=99999999999999999999", "x"}, "--start takes a number up to"},
    };
    for (const auto& [args, named] : cases) {
        const Result result = runCli(args);
        EXPECT_EQ(result.status, 2) << named;
        EXPECT_NE(result.err.find(named), std::string::npos) << result.err;
        // The line that is wrong, and where to read more: not the whole help.
        EXPECT_TRUE(result.err.ends_with("\nTry 'brindleaf-cli --help' for more information.\n"))
            << result.err;
        EXPECT_EQ(std::ranges::count(result.err, '\n'), 2) << result.err;
        EXPECT_EQ(result.out, "");
    }
    for (const char* help : {"--help", "-h"}) {
        EXPECT_NE(runCli({help, "x"}).out.find("Usage: brindleaf-cli"), std::string::npos);
    }
    TemporaryFolder folder;
    folder.addFile("a");
    for (const char* start : {"9223372036854775807", "09223372036854775807"}) {
        const Result largest = runCli({"--start", start, "--digits", "1", folder.path()});
        EXPECT_NE(largest.status, 2) << start << largest.err;
    }
    EXPECT_TRUE(runCli({"--version"}).out.starts_with("brindleaf-cli "));
}

// A script reads the status; --help says which outcome gives which.
TEST(CommandLine, HelpTellsWhichOutcomeGivesWhichStatus) {
    const std::string help = runCli({"--help"}).out;
    for (const char* line : {"\n  0    done", "\n  1    failed, or refused", "nothing to undo",
                             "only some names", "\n  2    bad usage", "\n  128+N  signal N"}) {
        EXPECT_NE(help.find(line), std::string::npos) << line;
    }
}

// Extensions as people type them: with a dot, as a pattern, with more than one dot,
// separated by spaces; a folder or a link to one is no file, whatever its name ends with.
TEST(CommandLine, OnlyTakesExtensionsAsTypedAndNeverAFolder) {
    TemporaryFolder folder;
    for (const char* name : {"a.tar.gz", "b.JPG", "c.png", "d.txt", "tar.gz", ".jpg", "ejpg"}) {
        folder.addFile(name);
    }
    folder.addFolder("trip.jpg");
    folder.addFolder("album");
    std::filesystem::create_symlink("album", folder.pathOf("link.jpg"));
    std::filesystem::create_symlink("b.JPG", folder.pathOf("same.jpg"));
    std::filesystem::create_symlink("nowhere", folder.pathOf("gone.jpg"));
    const std::vector<std::pair<std::string, std::string>> cases{
        {"jpg", "b.JPG gone.jpg same.jpg"},
        {".jpg", "b.JPG gone.jpg same.jpg"},
        {"*.JPG", "b.JPG gone.jpg same.jpg"},
        {"jpg png", "b.JPG c.png gone.jpg same.jpg"},
        {" png,, txt ", "c.png d.txt"},
        {"tar.gz", "a.tar.gz"},
        {"*.tar.gz", "a.tar.gz"},
        {"gz", "a.tar.gz tar.gz"},
    };
    for (const auto& [only, numbered] : cases) {
        const Result result = runCli({"-0", "--only", only, folder.path()});
        EXPECT_EQ(result.status, 0) << only << result.err;
        std::string shown;
        for (std::size_t field = 0, at = 0; at < result.out.size(); ++field) {
            const std::size_t end = result.out.find('\0', at);
            if (field % 2 == 0) {
                shown += (shown.empty() ? "" : " ") + result.out.substr(at, end - at);
            }
            at = end + 1;
        }
        EXPECT_EQ(shown, numbered) << only;
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder.pathOf("trip.jpg")));
}

// An empty preview alone looks like a folder with nothing to do.
TEST(CommandLine, PreviewSaysWhenNoEntryIsNumbered) {
    TemporaryFolder folder;
    folder.addFile("a.txt");
    folder.addFolder("b.jpg");
    const Result none = runCli({"--only", "jpg", folder.path()});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "brindleaf-cli: No entry of \"" + folder.path() +
                            "\" is numbered: none is a file with an extension --only names "
                            "(jpg).\n");
    // The list as a shell would read it back: a line break in it cannot break the line.
    const Result broken = runCli({"--only", "j\npg", folder.path()});
    EXPECT_EQ(broken.err, "brindleaf-cli: No entry of \"" + folder.path() +
                              "\" is numbered: none is a file with an extension --only names "
                              "($'j\\npg').\n");
    const Result hidden = runCli({"--skip-hidden", "--files-only", folder.pathOf("b.jpg")});
    EXPECT_EQ(hidden.err, "");
    folder.addFile("b.jpg/.x");
    const Result leftOut = runCli({"--skip-hidden", folder.pathOf("b.jpg")});
    EXPECT_EQ(leftOut.err, "brindleaf-cli: No entry of \"" + folder.pathOf("b.jpg") +
                               "\" is numbered: the choices leave every entry out.\n");
    EXPECT_EQ(runCli({"--only", "txt", folder.path()}).err, "");
}

// A link counts as what it points to when entries are chosen, and is renamed as a link:
// what it points to never moves.
TEST(CommandLine, FilesOnlyLeavesOutLinksToFoldersAndRenamesLinksAsLinks) {
    TemporaryFolder folder;
    folder.addFile("a");
    folder.addFolder("sub");
    std::filesystem::create_symlink("sub", folder.pathOf("link.dir"));
    std::filesystem::create_symlink("a", folder.pathOf("link.file"));
    std::filesystem::create_symlink("nowhere", folder.pathOf("gone"));
    const Result preview = runCli({"--files-only", "--keep-extension", folder.path()});
    EXPECT_EQ(preview.out, "a\t\t->\t\t0001\n"
                           "gone\t\t->\t\t0002\n"
                           "link.file\t\t->\t\t0003.file\n");
    const Result applied = runCli({"--apply", "--files-only", folder.path()});
    ASSERT_EQ(applied.status, 0) << applied.err;
    EXPECT_EQ(folder.names(), (NameSet{"0001", "0002", "0003", "link.dir", "sub"}));
    EXPECT_EQ(std::filesystem::read_symlink(folder.pathOf("0002")), "nowhere");
    EXPECT_EQ(std::filesystem::read_symlink(folder.pathOf("0003")), "a");
    EXPECT_EQ(std::filesystem::read_symlink(folder.pathOf("link.dir")), "sub");

    TemporaryFolder all;
    all.addFolder("sub");
    std::filesystem::create_symlink("sub", all.pathOf("link.dir"));
    ASSERT_EQ(runCli({"--apply", all.path()}).status, 0);
    EXPECT_EQ(all.names(), (NameSet{"0001", "0002"}));
    // The link was moved, not what it points to: it still names the folder's old name.
    EXPECT_EQ(std::filesystem::read_symlink(all.pathOf("0001")), "sub");
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::symlink_status(all.pathOf("0002"))));
}

} // namespace
} // namespace brindleaf::cli
