#include "engine/NameFormat.hpp"

#include "engine/DigitsOnly.hpp"

#include <algorithm>
#include <charconv>
#include <limits>

namespace brindleaf {

namespace {

constexpr std::uint64_t largestStart = std::numeric_limits<std::int64_t>::max();

// An empty text or one above 2^63 - 1 reads as 0.
std::uint64_t readStart(std::string_view digits) {
    std::uint64_t value = 0;
    for (const char digit : digits) {
        const auto d = static_cast<std::uint64_t>(digit - '0');
        if (value > (largestStart - d) / 10) {
            return 0;
        }
        value = value * 10 + d;
    }
    return value;
}

// Zeros at the head are printf's zero flags, not part of the width. A width too large for
// any name saturates: such names are reported as too long, never built.
std::uint64_t readWidth(std::string_view digits) {
    const auto significant = digits.find_first_not_of('0');
    if (significant == std::string_view::npos) {
        return 0;
    }
    digits.remove_prefix(significant);
    constexpr std::size_t saturatingLength = 12;
    if (digits.size() >= saturatingLength) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    std::uint64_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

std::uint64_t decimalLength(std::uint64_t number) {
    std::uint64_t length = 1;
    while (number >= 10) {
        number /= 10;
        ++length;
    }
    return length;
}

std::optional<NameProblem> problemOfFixedText(std::string_view text) {
    if (text.find('/') != std::string_view::npos) {
        return NameProblem::ContainsSlash;
    }
    if (text.find('\0') != std::string_view::npos) {
        return NameProblem::ContainsNul;
    }
    return std::nullopt;
}

} // namespace

NameFormat::NameFormat(const Settings& settings)
    : start_(readStart(digitsOnly(settings.startIndex))),
      width_(readWidth(digitsOnly(settings.digits))), prefix_(settings.prefix),
      postfix_(settings.postfix),
      keepsExtensions_(settings.isKeepExtensionsOn || settings.isKeepRelatedOn) {
    fixedTextProblem_ = problemOfFixedText(prefix_);
    if (!fixedTextProblem_) {
        fixedTextProblem_ = problemOfFixedText(postfix_);
    }
}

NamePart NameFormat::partAtFault(NameProblem problem) const {
    if (problem == NameProblem::HeldByLeftOut) {
        return NamePart::Prefix;
    }
    if (problem != NameProblem::TooLong) {
        return problemOfFixedText(prefix_) ? NamePart::Prefix : NamePart::Postfix;
    }
    if (width_ >= std::max(prefix_.size(), postfix_.size())) {
        return NamePart::Number;
    }
    return prefix_.size() >= postfix_.size() ? NamePart::Prefix : NamePart::Postfix;
}

std::uint64_t NameFormat::lengthAt(std::uint64_t position) const {
    const std::uint64_t numberLength = std::max(width_, decimalLength(numberAt(position)));
    return prefix_.size() + numberLength + postfix_.size();
}

std::optional<std::string> NameFormat::renamedAt(std::uint64_t position) const {
    const std::uint64_t length = lengthAt(position);
    if (length > longestBuildableName) {
        return std::nullopt;
    }
    char digits[std::numeric_limits<std::uint64_t>::digits10 + 1];
    const auto [end, error] =
        std::to_chars(std::begin(digits), std::end(digits), numberAt(position));
    const std::size_t digitCount = static_cast<std::size_t>(end - digits);

    std::string name;
    name.reserve(length);
    name += prefix_;
    if (width_ > digitCount) {
        name.append(width_ - digitCount, '0');
    }
    name.append(digits, digitCount);
    name += postfix_;
    return name;
}

std::optional<NameProblem> NameFormat::problemAt(std::uint64_t position,
                                                 std::size_t longestName) const {
    if (fixedTextProblem_) {
        return fixedTextProblem_;
    }
    if (lengthAt(position) + temporarySuffix.size() > longestName) {
        return NameProblem::TooLong;
    }
    return std::nullopt;
}

std::string_view NameFormat::extensionOf(std::string_view name) {
    constexpr std::size_t longestExtension = 10;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return {};
    }
    const std::string_view tail = name.substr(dot + 1);
    std::size_t characters = 0;
    for (const char byte : tail) {
        if (byte == ' ') {
            return {};
        }
        // Count characters, not bytes: a UTF-8 continuation byte starts none.
        characters += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
    }
    if (characters == 0 || characters > longestExtension) {
        return {};
    }
    return name.substr(dot);
}

std::string_view NameFormat::keptExtension(std::string_view name, bool isFolder) const {
    return keepsExtensions_ && !isFolder ? extensionOf(name) : std::string_view{};
}

std::optional<std::string> NameFormat::renamedWith(std::uint64_t position,
                                                   std::string_view ending) const {
    if (lengthAt(position) + ending.size() > longestBuildableName) {
        return std::nullopt;
    }
    std::optional<std::string> renamed = renamedAt(position);
    renamed->append(ending);
    return renamed;
}

std::optional<NameProblem> NameFormat::problemWith(std::uint64_t position, std::size_t endingLength,
                                                   std::size_t longestName) const {
    return problemAt(position, longestName > endingLength ? longestName - endingLength : 0);
}

std::optional<std::string> NameFormat::renamedFor(std::uint64_t position, std::string_view name,
                                                  bool isFolder) const {
    return renamedWith(position, keptExtension(name, isFolder));
}

std::optional<NameProblem> NameFormat::problemFor(std::uint64_t position, std::string_view name,
                                                  bool isFolder, std::size_t longestName) const {
    return problemWith(position, keptExtension(name, isFolder).size(), longestName);
}

} // namespace brindleaf
