#include "engine/JournalFormat.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>

// A journal is text with every name written as its length, a colon and its bytes, so that
// any byte a name may hold, newlines included, comes back exactly:
//
//   brindleaf-journal 2 <state> <checksum of the line before it>   (padded to a fixed length)
//   folder <length>:<path>
//   device <device> inode <inode> stable-inodes <0|1> started <wall-clock ns> volume <id>
//   entries <count>
//   <inode> <size> <mtime ns> <length>:<original> <length>:<renamed>     (count times)
//
// Size and modification time are written only where inode numbers are made up at mount
// time; elsewhere they are 0.
//   end <checksum of every byte after the first line, before "end">
namespace brindleaf {

namespace {

constexpr std::string_view magic = "brindleaf-journal 2 ";
// Journals written before the state line had a checksum of its own, and the volume.
constexpr std::string_view magicWithoutStateSum = "brindleaf-journal 1 ";
constexpr std::size_t stateLineLength = 64;
// The state line ends in a space, eight hexadecimal digits and a newline.
constexpr std::size_t stateSumLength = 10;
constexpr std::size_t stateTextLength = stateLineLength - stateSumLength;

constexpr std::uint64_t checksumStart = 0xcbf29ce484222325ULL;

// "end ", sixteen hexadecimal digits and a newline.
constexpr std::size_t trailerLength = 21;
// Linux allows 255 bytes; macOS 255 UTF-16 units, up to 765 bytes in UTF-8.
constexpr std::uint64_t longestName = 1024;
// Three numbers, two names with their lengths, the spaces, the colons and the newline.
constexpr std::uint64_t longestEntryLine = 3 * 20 + 2 * (4 + 1 + longestName) + 4 + 1;
// "placeholder-inode", a number, a name with its length, and the line's own checksum.
constexpr std::uint64_t longestPlaceholderLine = 18 + 20 + 1 + 4 + 1 + longestName + 10;
// An entry claims at most three names in a run (its temporary name, back from it, home),
// each recorded in two lines.
constexpr std::uint64_t placeholdersPerEntry = 6;
// Placeholder records are read in pieces of at least this size, to hold whole ones.
constexpr std::size_t placeholderPieceBytes = 64 * 1024;

// FNV-1a: cheap enough for tens of megabytes, and any damage changes it.
std::uint64_t checksumOf(std::uint64_t sum, std::string_view bytes) {
    for (const char byte : bytes) {
        sum = (sum ^ static_cast<unsigned char>(byte)) * 0x100000001b3ULL;
    }
    return sum;
}

// The state line's own checksum: it is rewritten in place, apart from the rest.
std::string stateSum(std::string_view text) {
    const std::uint64_t sum = checksumOf(checksumStart, text);
    char digits[16];
    std::snprintf(digits, sizeof digits, " %08x\n",
                  static_cast<unsigned>((sum >> 32) ^ (sum & 0xffffffffU)));
    return digits;
}

std::string_view stateWord(RunState state) {
    switch (state) {
    case RunState::Running:
        return "running";
    case RunState::Finished:
        return "finished";
    case RunState::Undoing:
        return "undoing";
    case RunState::Undone:
        return "undone";
    }
    return "running";
}

template <typename Number> void appendNumber(std::string& text, Number number) {
    char digits[24];
    const char* end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    text.append(digits, static_cast<std::size_t>(end - digits));
}

std::string decimal(std::uint64_t number) {
    return std::to_string(number);
}

// Reads the journal's text front to back; any surprise ends the reading.
class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}

    [[nodiscard]] bool atEnd() const { return rest_.empty(); }
    [[nodiscard]] std::string_view rest() const { return rest_; }

    bool literal(std::string_view expected) {
        if (!rest_.starts_with(expected)) {
            return false;
        }
        rest_.remove_prefix(expected.size());
        return true;
    }

    template <typename Number> std::optional<Number> number() {
        Number value{};
        const auto [end, error] = std::from_chars(rest_.data(), rest_.data() + rest_.size(), value);
        if (error != std::errc{}) {
            return std::nullopt;
        }
        rest_.remove_prefix(static_cast<std::size_t>(end - rest_.data()));
        return value;
    }

    std::optional<std::string_view> sized() {
        const auto length = number<std::size_t>();
        if (!length || !literal(":") || rest_.size() < *length) {
            return std::nullopt;
        }
        const std::string_view bytes = rest_.substr(0, *length);
        rest_.remove_prefix(*length);
        return bytes;
    }

private:
    std::string_view rest_;
};

bool isName(std::string_view name) {
    return !name.empty() && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::optional<RunState> readState(Reader& reader, std::vector<std::string>& undoSuffixes) {
    for (const RunState state :
         {RunState::Running, RunState::Finished, RunState::Undoing, RunState::Undone}) {
        if (reader.literal(stateWord(state))) {
            std::string_view rest = reader.rest();
            rest = rest.substr(0, rest.find_last_not_of(" \n") + 1);
            while (!rest.empty() && rest.front() == ' ') {
                rest.remove_prefix(1);
                const std::size_t end = std::min(rest.find(' '), rest.size());
                undoSuffixes.emplace_back(rest.substr(0, end));
                rest.remove_prefix(end);
            }
            return state;
        }
    }
    return std::nullopt;
}

// The head's lines after the state line; the reader is left at the first entry.
std::optional<JournalHead> readFolderLines(Reader& reader, JournalHead head, bool withVolume) {
    const auto path = (reader.literal("folder ") ? reader.sized() : std::nullopt);
    if (!path || !reader.literal("\ndevice ")) {
        return std::nullopt;
    }
    head.folderPath = std::string(*path);
    const auto device = reader.number<std::uint64_t>();
    const auto inode = reader.literal(" inode ") ? reader.number<std::uint64_t>() : std::nullopt;
    const auto stable =
        reader.literal(" stable-inodes ") ? reader.number<unsigned>() : std::nullopt;
    const auto started = reader.literal(" started ") ? reader.number<std::int64_t>() : std::nullopt;
    std::optional<std::uint64_t> volume = 0;
    if (withVolume) {
        volume = reader.literal(" volume ") ? reader.number<std::uint64_t>() : std::nullopt;
    }
    const auto count = reader.literal("\nentries ") ? reader.number<std::size_t>() : std::nullopt;
    if (!device || !inode || !stable || !started || !volume || !count || !reader.literal("\n")) {
        return std::nullopt;
    }
    head.folder = {*device, *inode, *stable != 0};
    head.folder.volume = *volume;
    head.startedNanoseconds = *started;
    head.entryCount = *count;
    return head;
}

std::optional<JournalEntry> readEntry(Reader& reader) {
    const auto inode = reader.number<std::uint64_t>();
    const auto size = reader.literal(" ") ? reader.number<std::uint64_t>() : std::nullopt;
    const auto time = reader.literal(" ") ? reader.number<std::int64_t>() : std::nullopt;
    const auto original = reader.literal(" ") ? reader.sized() : std::nullopt;
    const auto renamed = reader.literal(" ") ? reader.sized() : std::nullopt;
    if (!inode || !size || !time || !original || !renamed || !reader.literal("\n") ||
        !isName(*original) || !isName(*renamed)) {
        return std::nullopt;
    }
    return JournalEntry{std::string(*original), std::string(*renamed), *inode, {*size, *time}};
}

} // namespace

std::string journalStateLine(RunState state, std::span<const std::string> undoSuffixes) {
    const std::string start = std::string(magic) + std::string(stateWord(state));
    std::string suffixes;
    for (auto suffix = undoSuffixes.rbegin(); suffix != undoSuffixes.rend(); ++suffix) {
        if (start.size() + suffixes.size() + suffix->size() + 1 > stateTextLength) {
            break;
        }
        suffixes.insert(0, " " + *suffix);
    }
    std::string line = start + suffixes;
    line.resize(stateTextLength, ' ');
    return line + stateSum(line);
}

JournalEncoder::JournalEncoder(JournalFile& file, const std::string& folderPath,
                               const FolderIdentity& folder, std::int64_t startedNanoseconds,
                               std::size_t entryCount, RunState state,
                               std::span<const std::string> undoSuffixes)
    : file_(file), checksum_(checksumStart) {
    file_.append(journalStateLine(state, undoSuffixes));
    put("folder " + decimal(folderPath.size()) + ":");
    put(folderPath);
    put("\ndevice " + decimal(folder.device) + " inode " + decimal(folder.inode) +
        " stable-inodes " + (folder.inodesAreStable ? "1" : "0") + " started " +
        std::to_string(startedNanoseconds) + " volume " + decimal(folder.volume) + "\nentries " +
        decimal(entryCount) + "\n");
}

void JournalEncoder::add(std::string_view original, std::string_view renamed, std::uint64_t inode,
                         const EntryStamp& stamp) {
    // One buffer serves every entry's line: a million of them must cost next to nothing.
    line_.clear();
    appendNumber(line_, inode);
    line_ += ' ';
    appendNumber(line_, stamp.size);
    line_ += ' ';
    appendNumber(line_, stamp.modifiedNanoseconds);
    line_ += ' ';
    appendNumber(line_, original.size());
    line_ += ':';
    line_ += original;
    line_ += ' ';
    appendNumber(line_, renamed.size());
    line_ += ':';
    line_ += renamed;
    line_ += '\n';
    put(line_);
}

void JournalEncoder::finish() {
    char trailer[32];
    const int length = std::snprintf(trailer, sizeof trailer, "end %016llx\n",
                                     static_cast<unsigned long long>(checksum_));
    file_.append(std::string_view(trailer, static_cast<std::size_t>(length)));
}

void JournalEncoder::put(std::string_view bytes) {
    checksum_ = checksumOf(checksum_, bytes);
    file_.append(bytes);
}

std::expected<JournalHead, JournalProblem> decodeJournalHead(std::string_view bytes) {
    if (bytes.size() < stateLineLength) {
        return std::unexpected(bytes.starts_with(magic.substr(0, bytes.size()))
                                   ? JournalProblem::Truncated
                                   : JournalProblem::NotAJournal);
    }
    const std::string_view stateLine = bytes.substr(0, stateLineLength);
    const bool summed = stateLine.starts_with(magic);
    if ((!summed && !stateLine.starts_with(magicWithoutStateSum)) || !stateLine.ends_with('\n')) {
        return std::unexpected(JournalProblem::NotAJournal);
    }
    JournalHead head;
    Reader line(stateLine.substr(magic.size(),
                                 (summed ? stateTextLength : stateLineLength - 1) - magic.size()));
    const auto state = readState(line, head.undoSuffixes);
    const bool sumHolds = !summed || stateSum(stateLine.substr(0, stateTextLength)) ==
                                         stateLine.substr(stateTextLength);
    // A damaged state still names its folder, which stays refused rather than forgotten.
    head.stateDamaged = !state || !sumHolds;
    head.state = state.value_or(RunState::Running);
    Reader rest(bytes.substr(stateLineLength));
    const auto complete = readFolderLines(rest, std::move(head), summed);
    if (!complete) {
        return std::unexpected(JournalProblem::Truncated);
    }
    return *complete;
}

namespace {

// The entries after a journal's head, as many as it counts or up to the first that cannot be
// read; `reader` is left after them. Never trusts the count enough to reserve by it.
std::vector<JournalEntry> entriesAfterHead(std::string_view bytes, const JournalHead& head,
                                           Reader& reader) {
    static_cast<void>(readFolderLines(reader, head, bytes.starts_with(magic)));
    std::vector<JournalEntry> entries;
    while (entries.size() < head.entryCount) {
        auto entry = readEntry(reader);
        if (!entry) {
            break;
        }
        entries.push_back(std::move(*entry));
    }
    return entries;
}

} // namespace

bool JournalDecoder::feed(std::string_view bytes) {
    if (problem_) {
        return false;
    }
    pending_.append(bytes);
    if (!record_ && !decodeHead(false)) {
        return !problem_;
    }
    decodeEntries(false);
    checkTrailer(false);
    return !problem_;
}

std::expected<RunRecord, JournalProblem> JournalDecoder::finish() {
    if (!problem_ && (record_ || decodeHead(true))) {
        decodeEntries(true);
        checkTrailer(true);
    }
    if (problem_) {
        return std::unexpected(*problem_);
    }
    return std::move(*record_);
}

// The head, once enough of the journal is there to hold it, or all of it.
bool JournalDecoder::decodeHead(bool atEnd) {
    if (!atEnd && pending_.size() < journalHeadBytes) {
        return false;
    }
    auto head = decodeJournalHead(pending_);
    if (!head || head->stateDamaged || !sizeFitsEntries(*head, size_)) {
        problem_ = head ? JournalProblem::Corrupt : head.error();
        return false;
    }
    Reader reader(std::string_view(pending_).substr(stateLineLength));
    static_cast<void>(readFolderLines(reader, *head, pending_.starts_with(magic)));
    const std::size_t headEnd = pending_.size() - reader.rest().size();
    checksum_ =
        checksumOf(checksumStart,
                   std::string_view(pending_).substr(stateLineLength, headEnd - stateLineLength));
    pending_.erase(0, headEnd);
    record_ = RunRecord{std::move(*head), {}, {}};
    return true;
}

// As many entries as the bytes there hold whole. Never trusts the count enough to reserve
// by it.
void JournalDecoder::decodeEntries(bool atEnd) {
    std::vector<JournalEntry>& entries = record_->entries;
    std::string_view rest = pending_;
    while (!entriesDone_ && entries.size() < record_->head.entryCount) {
        Reader reader(rest);
        auto entry = readEntry(reader);
        if (!entry) {
            // An entry cut by the end of what was read so far is read again with more.
            if (atEnd || rest.size() >= longestEntryLine) {
                problem_ = JournalProblem::Truncated;
            }
            break;
        }
        const std::size_t length = rest.size() - reader.rest().size();
        checksum_ = checksumOf(checksum_, rest.substr(0, length));
        rest.remove_prefix(length);
        entries.push_back(std::move(*entry));
    }
    entriesDone_ = entries.size() == record_->head.entryCount;
    pending_.erase(0, pending_.size() - rest.size());
}

void JournalDecoder::checkTrailer(bool atEnd) {
    if (problem_ || !entriesDone_) {
        return;
    }
    if (!trailerRead_) {
        if (!atEnd && pending_.size() < trailerLength) {
            return;
        }
        char expected[32];
        std::snprintf(expected, sizeof expected, "end %016llx\n",
                      static_cast<unsigned long long>(checksum_));
        if (!pending_.starts_with(expected)) {
            problem_ =
                pending_.starts_with("end ") ? JournalProblem::Corrupt : JournalProblem::Truncated;
            return;
        }
        pending_.erase(0, trailerLength);
        trailerRead_ = true;
    }
    readPlaceholders(atEnd);
}

// The placeholder records after the end line, read as they come in pieces large enough to
// hold whole ones; a record cut by a piece's end waits for the next.
void JournalDecoder::readPlaceholders(bool atEnd) {
    if (!atEnd && pending_.size() < placeholderPieceBytes) {
        return;
    }
    std::string_view rest = pending_;
    const bool whole = readPlaceholderRecords(rest, record_->placeholders);
    if (!whole && (atEnd || rest.size() >= longestPlaceholderLine)) {
        problem_ = JournalProblem::Corrupt;
        return;
    }
    pending_.erase(0, atEnd ? pending_.size() : pending_.size() - rest.size());
}

std::expected<RunRecord, JournalProblem> decodeJournal(std::string_view bytes) {
    JournalDecoder decoder(bytes.size());
    decoder.feed(bytes);
    return decoder.finish();
}

namespace {

bool endsWithTrailer(std::string_view tail) {
    if (tail.size() < trailerLength) {
        return false;
    }
    const std::string_view trailer = tail.substr(tail.size() - trailerLength);
    if (!trailer.starts_with("end ") || !trailer.ends_with('\n')) {
        return false;
    }
    return std::ranges::all_of(trailer.substr(4, 16), [](char digit) {
        return (digit >= '0' && digit <= '9') || (digit >= 'a' && digit <= 'f');
    });
}

// Whether the last whole line of `tail` is a placeholder record with its checksum: a crash
// may have cut a record after it short.
bool endsWithPlaceholderRecord(std::string_view tail) {
    const std::size_t lastEnd = tail.rfind('\n');
    if (lastEnd == std::string_view::npos || lastEnd == 0) {
        return false;
    }
    const std::size_t lineStart = tail.rfind('\n', lastEnd - 1);
    if (lineStart == std::string_view::npos) {
        return false;
    }
    std::string_view line = tail.substr(lineStart + 1, lastEnd - lineStart);
    std::vector<RecordedPlaceholder> ignored;
    return line.starts_with("placeholder") && readPlaceholderRecords(line, ignored) && line.empty();
}

} // namespace

bool endsComplete(std::string_view tail) {
    return endsWithTrailer(tail) || endsWithPlaceholderRecord(tail);
}

std::uint64_t longestJournalOf(const JournalHead& head) {
    const std::uint64_t fixed = journalHeadBytes + trailerLength;
    const std::uint64_t most = std::min<std::uint64_t>(std::numeric_limits<std::uint64_t>::max(),
                                                       std::numeric_limits<std::size_t>::max());
    if (head.entryCount >
        (most - fixed) / (longestEntryLine + placeholdersPerEntry * longestPlaceholderLine)) {
        return most;
    }
    return fixed +
           head.entryCount * (longestEntryLine + placeholdersPerEntry * longestPlaceholderLine);
}

bool sizeFitsEntries(const JournalHead& head, std::uint64_t size) {
    return size <= longestJournalOf(head);
}

std::vector<JournalEntry> readableEntries(std::string_view bytes) {
    const auto head = decodeJournalHead(bytes);
    if (!head) {
        return {};
    }
    Reader reader(bytes.substr(stateLineLength));
    return entriesAfterHead(bytes, *head, reader);
}

namespace {

std::string sizedName(std::string_view name) {
    return decimal(name.size()) + ":" + std::string(name);
}

std::string summedLine(const std::string& text) {
    return text + stateSum(text);
}

} // namespace

std::string placeholderLine(std::string_view name, bool isFolder) {
    return summedLine(std::string("placeholder ") + (isFolder ? "folder " : "file ") +
                      sizedName(name));
}

std::string placeholderInodeLine(std::string_view name, std::uint64_t inode) {
    return summedLine("placeholder-inode " + decimal(inode) + " " + sizedName(name));
}

bool readPlaceholderRecords(std::string_view& lines, std::vector<RecordedPlaceholder>& into) {
    Reader reader(lines);
    while (!reader.atEnd()) {
        const std::string_view start = reader.rest();
        const bool madeOne = reader.literal("placeholder ");
        const bool numbered = !madeOne && reader.literal("placeholder-inode ");
        const bool isFolder = madeOne && reader.literal("folder ");
        const bool kindRead = !madeOne || isFolder || reader.literal("file ");
        const auto inode =
            numbered ? reader.number<std::uint64_t>() : std::optional<std::uint64_t>(0);
        const auto name =
            kindRead && inode && (!numbered || reader.literal(" ")) ? reader.sized() : std::nullopt;
        const std::string_view text = start.substr(0, start.size() - reader.rest().size());
        const bool whole = name && (madeOne || numbered) && isName(*name) &&
                           reader.rest().starts_with(stateSum(text));
        if (!whole) {
            // A crash may cut the last line short; any other line that is not whole is damage.
            lines = start;
            return start.find('\n') == std::string_view::npos;
        }
        reader.literal(stateSum(text));
        if (madeOne) {
            into.push_back({std::string(*name), isFolder, 0});
        } else {
            for (RecordedPlaceholder& made : into) {
                made.inode = made.name == *name ? *inode : made.inode;
            }
        }
    }
    lines = {};
    return true;
}

std::optional<std::vector<RecordedPlaceholder>> placeholdersRecorded(std::string_view lines) {
    std::vector<RecordedPlaceholder> placeholders;
    if (!readPlaceholderRecords(lines, placeholders)) {
        return std::nullopt;
    }
    return placeholders;
}

} // namespace brindleaf
