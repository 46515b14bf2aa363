#include "engine/Cameras.hpp"

#include <gtest/gtest.h>

namespace brindleaf {
namespace {

EntryDate photo(const char* camera, const char* serial) {
    EntryDate date;
    date.taken = 1;
    date.camera = camera;
    date.serial = serial;
    return date;
}

// Two bodies of one model are told apart by their serial numbers; one body is not, nor is
// a model whose serial numbers are unknown; an entry without a date taken has no camera.
TEST(Cameras, SerialNumbersTellTwoBodiesOfOneModelApart) {
    EntryDate undated;
    undated.camera = "NIKON D750";
    undated.serial = "3";
    const std::vector<EntryDate> dates{
        photo("NIKON D750", "3001"),
        photo("NIKON D750", "3002"),
        photo("NIKON D750", "3001"),
        photo("Canon EOS R6", "77"),
        photo("Canon EOS R6", "77"),
        photo("Apple iPhone 13", ""),
        undated,
        photo("", ""),
    };
    const std::vector<std::string> expected{
        "NIKON D750 #3001",
        "NIKON D750 #3002",
        "NIKON D750 #3001",
        "Canon EOS R6",
        "Canon EOS R6",
        "Apple iPhone 13",
        "",
        "unknown camera",
    };
    EXPECT_EQ(cameraNames(dates), expected);
}

TEST(Cameras, ZonesAndShiftsParseOnlyInTheirForms) {
    const std::vector<std::pair<const char*, std::optional<std::int32_t>>> zones{
        {"+01:00", 3'600}, {"-05:30", -19'800}, {"+14:00", 50'400}, {"+02", 7'200}, {"UTC", 0},
        {"Z", 0},          {"01:00", {}},       {"+1:00", {}},      {"+15:00", {}}, {"+01:60", {}},
        {"", {}},          {"+01:00x", {}},
    };
    for (const auto& [text, seconds] : zones) {
        EXPECT_EQ(parseZone(text), seconds) << text;
    }
    const std::vector<std::pair<const char*, std::optional<std::int64_t>>> shifts{
        {"-0:03:12", -192}, {"+1:00:00", 3'600}, {"0:00:05", 5},  {"26:00:00", 93'600},
        {"-0:03:60", {}},   {"-0:3:12", {}},     {"3:12", {}},    {"", {}},
        {"1:00:00:00", {}}, {"+-1:00:00", {}},   {"a:00:00", {}}, {"1:00:0", {}},
    };
    for (const auto& [text, seconds] : shifts) {
        EXPECT_EQ(parseShift(text), seconds) << text;
    }
}

UsedDate used(std::int64_t instant, DateSource source) {
    return {instant, 0, source, false};
}

// A group stands at its earliest date taken, its latest when reversed; a modified time only
// where no member has a date taken. Every member of a numbered group, of two as of more,
// shows that date.
TEST(Cameras, AGroupStandsAtTheDateOfTheMemberItIsOrderedBy) {
    const std::vector<UsedDate> dates{used(5, DateSource::Modified), used(30, DateSource::Taken),
                                      used(10, DateSource::Corrected)};
    const std::vector<std::uint32_t> all{0, 1, 2};
    EXPECT_EQ(memberDatingGroup(all, dates, false), 2U);
    EXPECT_EQ(memberDatingGroup(all, dates, true), 1U);
    const std::vector<std::uint32_t> modifiedOnly{0};
    EXPECT_EQ(memberDatingGroup(modifiedOnly, dates, true), 0U);

    EntryDate photo;
    photo.taken = 7'000'000'000;
    photo.offset = 0;
    photo.camera = "Canon EOS R6";
    EntryDate sidecar;
    sidecar.modified = 9'000'000'000;
    Arrangement pair;
    pair.numbered = 3;
    pair.numbers = {0, 0, 1};
    Settings taken;
    taken.order = Order::Taken;
    const DatesUsed shown =
        shownDates(std::vector<EntryDate>{photo, sidecar, sidecar}, pair, taken);
    ASSERT_EQ(shown.dates.size(), 3U);
    EXPECT_EQ(shown.dates[1].instant, 7'000'000'000);
    EXPECT_EQ(shown.dates[1].source, DateSource::Taken);
    EXPECT_EQ(shown.dates[2].instant, 9'000'000'000);
    EXPECT_EQ(shown.cameras, (std::vector<std::string>{"Canon EOS R6", "Canon EOS R6", ""}));
    Settings modified;
    modified.order = Order::Modified;
    EXPECT_EQ(shownDates(std::vector<EntryDate>{photo, sidecar, sidecar}, pair, modified)
                  .dates.at(0)
                  .instant,
              0);
}

} // namespace
} // namespace brindleaf
