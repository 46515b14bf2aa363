#include "cli/ShownName.hpp"

#include <cstdio>

namespace brindleaf::cli {

namespace {

// Length of the well-formed UTF-8 sequence at the start of `text`, or 0.
std::size_t utf8Length(std::string_view text) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// C0 and C1 control characters and DEL: a terminal acts on them instead of showing them.
bool isControl(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) {
        return lead < 0x20 || lead == 0x7F;
    }
    return character.size() == 2 && lead == 0xC2 &&
           static_cast<unsigned char>(character[1]) <= 0x9F;
}

bool needsQuoting(std::string_view name) {
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = utf8Length(name.substr(at));
        if (length == 0 || isControl(name.substr(at, length))) {
            return true;
        }
        at += length;
    }
    return false;
}

void appendEscaped(std::string& out, unsigned char byte) {
    switch (byte) {
    case '\n':
        out += "\\n";
        return;
    case '\t':
        out += "\\t";
        return;
    case '\r':
        out += "\\r";
        return;
    case 0x1B:
        out += "\\e";
        return;
    default:
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        out += escaped;
    }
}

} // namespace

std::string shownName(std::string_view name) {
    if (!needsQuoting(name)) {
        return std::string(name);
    }
    std::string out = "$'";
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = utf8Length(name.substr(at));
        const std::string_view character = name.substr(at, length == 0 ? 1 : length);
        if (length == 0 || isControl(character)) {
            for (const char byte : character) {
                appendEscaped(out, static_cast<unsigned char>(byte));
            }
        } else if (character == "\\" || character == "'") {
            out += '\\';
            out += character;
        } else {
            out += character;
        }
        at += character.size();
    }
    return out + "'";
}

std::string quotedName(std::string_view name) {
    return "\"" + shownName(name) + "\"";
}

std::string nameLines(std::span<const std::string> names) {
    std::string text;
    for (const std::string& name : names) {
        text += "\n  " + quotedName(name);
    }
    return text;
}

std::string entryCount(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " entry" : " entries");
}

std::string placeholderLines(std::span<const std::string> placeholders) {
    std::string text;
    for (const std::string& placeholder : placeholders) {
        text += "\nAn empty placeholder could not be removed and was left behind: " +
                quotedName(placeholder) + ".";
    }
    return text;
}

} // namespace brindleaf::cli
