#include "cli/CommandLine.hpp"

#include "cli/ShownName.hpp"
#include "engine/Arrangement.hpp"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace brindleaf::cli {

namespace {

struct TextOption {
    std::string_view name;
    std::string Settings::*field;
    // The window ignores what is not a digit as it is typed; a script's typo must not
    // rename with other numbers than it meant.
    bool digitsOnly = false;
};

constexpr std::array textOptions{
    TextOption{"--start", &Settings::startIndex, true},
    TextOption{"--digits", &Settings::digits, true},
    TextOption{"--prefix", &Settings::prefix},
    TextOption{"--suffix", &Settings::postfix},
    // The name of --suffix in the first releases.
    TextOption{"--postfix", &Settings::postfix},
    TextOption{"--only", &Settings::onlyExtensions},
};

std::optional<Order> orderNamed(std::string_view name) {
    if (name == "name") {
        return Order::Name;
    }
    if (name == "modified") {
        return Order::Modified;
    }
    if (name == "taken") {
        return Order::Taken;
    }
    return std::nullopt;
}

// Empty, as a field the window's user cleared, is allowed.
bool allDigits(std::string_view text) {
    return text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The window reads a start too large for a name as 0; a script must not number from 0
// because of a typo.
bool fitsAStart(std::string_view digits) {
    std::uint64_t value = 0;
    for (const char digit : digits) {
        const auto d = static_cast<std::uint64_t>(digit - '0');
        constexpr auto largest =
            static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
        if (value > (largest - d) / 10) {
            return false;
        }
        value = value * 10 + d;
    }
    return true;
}

// An empty or unusable list would number every entry, or none, where a script meant some:
// `--only "$EXT"` with EXT unset must rename nothing.
std::optional<std::string> problemOfOnlyList(std::string_view list) {
    const ExtensionList read = readExtensionList(list);
    if (!read.unusable.empty()) {
        return "--only: " + quotedName(read.unusable.front()) +
               " is no extension; give extensions such as jpg, .jpg or *.jpg, separated by "
               "commas or spaces";
    }
    if (read.extensions.empty()) {
        return "--only needs at least one extension, such as --only jpg,png";
    }
    return std::nullopt;
}

// Says which requests were asked for, so that two that exclude each other are refused.
struct Asked {
    bool apply = false;
    bool undo = false;
    bool history = false;
    bool forget = false;
    bool naming = false;
};

std::optional<std::string> conflictIn(const Asked& asked) {
    const char* other = asked.undo      ? "--undo"
                        : asked.history ? "--history"
                        : asked.forget  ? "--forget"
                                        : nullptr;
    if (other == nullptr) {
        return std::nullopt;
    }
    if (int{asked.undo} + int{asked.history} + int{asked.forget} > 1) {
        return "--undo, --history and --forget cannot be combined";
    }
    if (asked.apply) {
        return std::string(other) + " cannot be combined with --apply";
    }
    if (asked.naming) {
        return std::string(other) + " takes no naming options: it works from the journal";
    }
    return std::nullopt;
}

struct ToggleOption {
    std::string_view name; // the "on" spelling; "--no-" + its tail turns it off
    bool Settings::*field;
};

constexpr std::array toggleOptions{
    ToggleOption{"--natsort", &Settings::isNatSortOn},
    ToggleOption{"--sort-ignoring-spaces", &Settings::isCompareBySpaceRemoveOn},
    ToggleOption{"--sort-spaces-as-underscores", &Settings::isCompareBySpaceReplaceOn},
    // The names of the two above in the first releases, which read as if names changed.
    ToggleOption{"--remove-spaces", &Settings::isCompareBySpaceRemoveOn},
    ToggleOption{"--replace-spaces", &Settings::isCompareBySpaceReplaceOn},
    ToggleOption{"--reverse", &Settings::isReverse},
    ToggleOption{"--keep-extension", &Settings::isKeepExtensionsOn},
    ToggleOption{"--skip-hidden", &Settings::isSkipHiddenOn},
    ToggleOption{"--files-only", &Settings::isFilesOnlyOn},
    ToggleOption{"--keep-related", &Settings::isKeepRelatedOn},
};

bool setToggle(std::string_view arg, Settings& settings) {
    for (const ToggleOption& option : toggleOptions) {
        if (arg == option.name) {
            settings.*option.field = true;
            return true;
        }
        if (arg.starts_with("--no-") && arg.substr(5) == option.name.substr(2)) {
            settings.*option.field = false;
            return true;
        }
    }
    return false;
}

const TextOption* findTextOption(std::string_view name) {
    for (const TextOption& option : textOptions) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

// "--camera-zone NAME=VALUE" and "--camera-shift NAME=VALUE": each camera's clock, the last
// value given for a camera winning. The names are checked against the folder's cameras once
// its photos are read.
std::optional<std::string> setCameraClock(std::string_view option, std::string_view value,
                                          Settings& settings) {
    const std::size_t equals = value.rfind('=');
    if (equals == std::string_view::npos || equals == 0) {
        return std::string(option) + " takes CAMERA=VALUE, not " + quotedName(value);
    }
    const std::string camera(value.substr(0, equals));
    auto clock = std::ranges::find(settings.cameraClocks, camera, &CameraClock::camera);
    if (clock == settings.cameraClocks.end()) {
        settings.cameraClocks.push_back({camera, {}, {}});
        clock = settings.cameraClocks.end() - 1;
    }
    (option == "--camera-zone" ? clock->zone : clock->shift) =
        std::string(value.substr(equals + 1));
    return std::nullopt;
}

// What the camera options need beside them.
std::optional<std::string> cameraOptionProblem(const CommandLine& line, const Asked& asked,
                                               bool cameras) {
    if (cameras && (asked.apply || asked.undo || asked.history || asked.forget)) {
        return "--cameras renames nothing: it cannot be combined with --apply, --undo, "
               "--history or --forget";
    }
    if (!cameras && !line.settings.cameraClocks.empty() && line.settings.order != Order::Taken) {
        return "--camera-zone and --camera-shift need --order taken";
    }
    if (line.longFormat && line.settings.order == Order::Name && !cameras) {
        return "--long needs --order modified or --order taken";
    }
    return std::nullopt;
}

} // namespace

std::expected<CommandLine, std::string> parseCommandLine(std::span<const std::string_view> args) {
    CommandLine line;
    Asked asked;
    std::optional<std::string_view> folder;
    bool optionsEnded = false;
    bool cameras = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool isOption =
            !optionsEnded && (arg.starts_with("--") || arg == "-h" || arg == "-0" || arg == "-q");
        if (!isOption) {
            if (folder) {
                return std::unexpected("more than one folder given");
            }
            folder = arg;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            return CommandLine{Request::Help, {}, false, false, false};
        } else if (arg == "--version") {
            return CommandLine{Request::Version, {}, false, false, false};
        } else if (arg == "--apply") {
            asked.apply = true;
        } else if (arg == "--undo") {
            asked.undo = true;
        } else if (arg == "--history") {
            asked.history = true;
        } else if (arg == "--forget") {
            asked.forget = true;
        } else if (arg == "--null" || arg == "-0") {
            line.nullSeparated = true;
        } else if (arg == "--quiet" || arg == "-q") {
            line.quiet = true;
        } else if (setToggle(arg, line.settings)) {
            asked.naming = true;
        } else if (arg == "--cameras") {
            cameras = true;
        } else if (arg == "--long") {
            line.longFormat = true;
        } else if (const std::string_view clockOption = arg.substr(0, arg.find('='));
                   clockOption == "--camera-zone" || clockOption == "--camera-shift") {
            std::string_view value;
            if (clockOption.size() < arg.size()) {
                value = arg.substr(clockOption.size() + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return std::unexpected(std::string(arg) + " needs a value");
            }
            asked.naming = true;
            if (const auto problem = setCameraClock(clockOption, value, line.settings)) {
                return std::unexpected(*problem);
            }
        } else {
            const auto equals = arg.find('=');
            const std::string_view name = arg.substr(0, equals);
            const TextOption* option = findTextOption(name);
            if (option == nullptr && name != "--order") {
                return std::unexpected("unknown option " + shownName(arg));
            }
            std::string value;
            if (equals != std::string_view::npos) {
                value = std::string(arg.substr(equals + 1));
            } else if (i + 1 < args.size()) {
                value = std::string(args[++i]);
            } else {
                return std::unexpected(std::string(arg) + " needs a value");
            }
            asked.naming = true;
            if (option == nullptr) {
                const auto order = orderNamed(value);
                if (!order) {
                    return std::unexpected("--order takes name, modified or taken, not " +
                                           quotedName(value));
                }
                line.settings.order = *order;
                continue;
            }
            // A start from a variable left unset would number from 0 where a script meant
            // another number.
            if (option->field == &Settings::startIndex && value.empty()) {
                return std::unexpected("--start needs a number, such as --start 1");
            }
            if (option->digitsOnly && !allDigits(value)) {
                return std::unexpected(std::string(option->name) + " takes digits only, not " +
                                       quotedName(value));
            }
            if (option->field == &Settings::startIndex && !fitsAStart(value)) {
                return std::unexpected("--start takes a number up to 9223372036854775807, not " +
                                       quotedName(value));
            }
            if (option->field == &Settings::onlyExtensions) {
                if (auto problem = problemOfOnlyList(value)) {
                    return std::unexpected(std::move(*problem));
                }
            }
            line.settings.*option->field = std::move(value);
        }
    }
    if (const auto conflict = conflictIn(asked)) {
        return std::unexpected(*conflict);
    }
    if (const auto problem = cameraOptionProblem(line, asked, cameras)) {
        return std::unexpected(*problem);
    }
    if (!folder || folder->empty()) {
        return std::unexpected("no folder given");
    }
    line.request = cameras         ? Request::Cameras
                   : asked.undo    ? Request::Undo
                   : asked.history ? Request::History
                   : asked.forget  ? Request::Forget
                   : asked.apply   ? Request::Apply
                                   : Request::Preview;
    line.settings.targetDir = std::string(*folder);
    return line;
}

std::string_view usageText() {
    return R"(Usage: brindleaf-cli [OPTIONS] FOLDER

Gives every entry of FOLDER a numbered name: prefix, zero-padded number, suffix.
Without --apply, prints each current name beside its new name and changes nothing; a
name holding control characters is shown quoted, as $'a\nb'.

Options:
  --start NUMBER       number of the first entry, in digits (default 1)
  --digits NUMBER      least number of digits, padded with zeros (default 4)
  --prefix TEXT        text before the number (default empty)
  --suffix TEXT        text after the number, such as ".jpg" (default empty);
                       --postfix is the same
  --natsort, --no-natsort
                       order numbers inside names by value (default on)
  --sort-ignoring-spaces, --no-sort-ignoring-spaces
                       ignore spaces when ordering; names keep their spaces
                       (default on); --remove-spaces is its old name
  --sort-spaces-as-underscores, --no-sort-spaces-as-underscores
                       order spaces as underscores; names keep their spaces
                       (default off); --replace-spaces is its old name
  --reverse, --no-reverse
                       number from the last name to the first (default off)
  --keep-extension, --no-keep-extension
                       put each file's own extension after the suffix: its last "."
                       and up to 10 characters after it, without spaces; folders and
                       names like ".bashrc" keep none (default off)
  --order name|modified|taken
                       number by name (default), by modified time, or by the date a
                       photo or video was taken, from its EXIF or QuickTime metadata;
                       entries without one fall back to their modified time. Photos
                       of one second keep their sub-second order (SubSecTimeOriginal).
                       Equal dates keep the name order; --reverse reverses any order
  --cameras            list FOLDER's cameras, one line each: the name the options
                       below take, how many entries, the first and last date taken,
                       and where its time zone comes from; renames nothing
  --camera-zone CAMERA=ZONE
                       read the photos of CAMERA that carry no offset tag in ZONE
                       (+01:00, -05:30, UTC) instead of this computer's zone; an
                       offset tag in a file still wins. Repeatable, one a camera
  --camera-shift CAMERA=[+|-]H:MM:SS
                       correct CAMERA's clock by this much (-0:03:12 for a clock
                       3 min 12 s fast), after its zone. Repeatable. Zones and
                       shifts change the order only, never a file, and need
                       --order taken; an unknown camera or value is a usage error
  --long               in the preview, add after each new name the date it is
                       numbered by (with seconds, in the zone it was read in), its
                       source (taken, modified or corrected) and its camera, each
                       after a tab (related files show their group's);
                       needs --order modified or taken
  --skip-hidden        leave out entries whose names start with "." (default off)
  --files-only         leave out folders and symbolic links to folders (default off)
  --only LIST          number only files with these extensions, separated by commas or
                       spaces and matched without regard to case: --only jpg,heic,cr2;
                       ".jpg", "*.jpg" and "tar.gz" are taken too. Folders, and links
                       to folders, are left out
  --keep-related, --no-keep-related
                       give files whose names differ only in their extensions, in any
                       ASCII case, one number, each keeping its own extension; a
                       sidecar named after a whole file name (IMG_1.CR2.xmp) follows
                       that file. With --order taken, two files that both have a
                       date taken are related only when taken in the same second, and
                       a file without one follows the file whose name it carries.
                       --only, --skip-hidden and --files-only choose whole groups: a
                       group is renamed when any of its files is chosen, and then all
                       of them are, so no sidecar is left behind. Implies
                       --keep-extension (default off)
                       Entries left out keep their names, are never moved, and are
                       not listed; a new name equal to one of theirs is refused.
  -0, --null           print the preview as original NUL renamed NUL, exact bytes
  --apply              rename the entries, then say what was done on standard error
  --undo               give the entries of FOLDER's newest run not yet undone their
                       original names back, whether that run finished or was
                       interrupted; each --undo walks back one more run
  --history            list FOLDER's recorded runs, newest first: when, how many
                       entries moved, and whether the run finished, was
                       interrupted or was undone
  --forget             set aside the journal of FOLDER's last run when it cannot be
                       read (truncated, corrupt), so the folder can be renamed again;
                       first lists the entries it names that are still under a new
                       or temporary name. The journal is renamed, never deleted, and
                       no entry moves
  -q, --quiet          say nothing after a rename or undo that succeeded
  -h, --help           show this text
  --version            show the version
  --                   end of options

--undo, --history and --forget take no naming options and no --apply.

With --order taken, the preview and --apply say on standard error how many entries had no
date taken and how many came from a camera without a time zone, read as this computer's.

Every run that moves an entry is journalled in $XDG_STATE_HOME/brindleaf
(~/.local/state/brindleaf) before its first move. Each folder keeps at least its last 20
runs; beyond 1 GiB of journals on disk in all, the oldest finished or undone runs go first,
but a folder's newest run is always kept. A run that did not finish, or whose journal is
damaged, is kept until it is undone or set aside with --forget; a file there that is no
run's journal is set aside, never deleted. Ctrl-C, SIGTERM or SIGHUP during a run puts
every name back.

A symbolic link is renamed as the link itself, never followed; whether it counts as a
folder or a file is decided by what it points to, and a link that points nowhere is a file.

Exit status:
  0    done: previewed, renamed (or nothing to rename), undone, listed, set aside
  1    failed, or refused: the folder cannot be read, a name cannot be given, a run
       did not finish or its journal is damaged, nothing to undo, an undo gave back
       only some names, nothing to set aside
  2    bad usage: an unknown option or a value it cannot take
  128+N  signal N stopped a run, and every name was put back; or an undo, which
         keeps the names it gave back and says how many
)";
}

} // namespace brindleaf::cli
