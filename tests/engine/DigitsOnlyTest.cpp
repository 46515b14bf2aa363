#include "engine/DigitsOnly.hpp"

#include <gtest/gtest.h>

namespace brindleaf {
namespace {

struct DigitsCase {
    const char* input;
    const char* expected;
};

void PrintTo(const DigitsCase& c, std::ostream* out) {
    *out << "'" << c.input << "'";
}

class DigitsOnlyTable : public ::testing::TestWithParam<DigitsCase> {};

TEST_P(DigitsOnlyTable, KeepsOnlyPlainAsciiDigits) {
    EXPECT_EQ(digitsOnly(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DigitsOnlyTable,
    ::testing::Values(DigitsCase{"", ""}, DigitsCase{"0123456789", "0123456789"},
                      DigitsCase{"abc", ""}, DigitsCase{"-5", "5"}, DigitsCase{"+1a2 3", "123"},
                      DigitsCase{"x3", "3"},
                      // full-width digits one and two
                      DigitsCase{"\xEF\xBC\x91\xEF\xBC\x92", ""},
                      // Arabic-Indic digit seven beside an ASCII 7
                      DigitsCase{"\xD9\xA7"
                                 "7",
                                 "7"},
                      // "1" + combining acute accent is one character, not a digit; "2" stays
                      DigitsCase{"1\xCC\x81"
                                 "2",
                                 "2"},
                      // keycap sequence 3 + VS16 + U+20E3 is one character
                      DigitsCase{"3\xEF\xB8\x8F\xE2\x83\xA3"
                                 "4",
                                 "4"},
                      // invalid UTF-8 around a digit
                      DigitsCase{"\xFF"
                                 "8\xC3",
                                 "8"}));

} // namespace
} // namespace brindleaf
