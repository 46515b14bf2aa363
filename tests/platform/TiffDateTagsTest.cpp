#include "platform/TiffDateTags.hpp"
#include "platform/DateTaken.hpp"
#include "support/TemporaryFolder.hpp"
#include "support/TripFolder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

namespace brindleaf {
namespace {

using testing::TemporaryFolder;

constexpr std::int64_t second = 1'000'000'000;
constexpr std::uint16_t ascii = 2;
constexpr std::uint16_t undefined = 7;
constexpr std::uint16_t longType = 4;
constexpr std::uint16_t exifPointer = 0x8769;
constexpr std::uint32_t megabyte = 1024 * 1024;

struct Tag {
    std::uint16_t tag;
    std::uint16_t type;
    // A text's bytes with its closing NUL, or a number's.
    std::string value;
};

Tag text(std::uint16_t tag, const std::string& value) {
    return {tag, ascii, value + std::string(1, '\0')};
}

// How a raw-like TIFF file is laid out: the first directory right after the header, the
// Exif directory at `exifAt`, which the first one points to at `exifPointer` (the same
// unless told), the file as long as `size`.
struct Layout {
    bool bigEndian = false;
    std::uint32_t exifAt = 4096;
    std::optional<std::uint32_t> exifPointer;
    std::uint32_t size = 64 * 1024;
    std::string header;
};

class TiffWriter {
public:
    explicit TiffWriter(bool bigEndian) : bigEndian_(bigEndian) {}

    void put16(std::string& to, std::uint32_t value) const { put(to, value, 2); }
    void put32(std::string& to, std::uint32_t value) const { put(to, value, 4); }

    // A directory of `tags` written at `at` into `bytes`, its values right after it.
    void directory(std::string& bytes, std::uint32_t at, std::vector<Tag> tags) const {
        std::ranges::stable_sort(tags, {}, &Tag::tag);
        std::string entries;
        std::string values;
        const std::uint32_t valuesAt = at + 2 + 12 * static_cast<std::uint32_t>(tags.size()) + 4;
        put16(entries, static_cast<std::uint32_t>(tags.size()));
        for (const Tag& tag : tags) {
            put16(entries, tag.tag);
            put16(entries, tag.type);
            const std::uint32_t unit = tag.type == longType ? 4 : 1;
            put32(entries, static_cast<std::uint32_t>(tag.value.size() / unit));
            if (tag.value.size() <= 4) {
                entries += tag.value + std::string(4 - tag.value.size(), '\0');
            } else {
                put32(entries, valuesAt + static_cast<std::uint32_t>(values.size()));
                values += tag.value;
                values.resize((values.size() + 1) / 2 * 2, '\0');
            }
        }
        put32(entries, 0);
        const std::string written = entries + values;
        if (bytes.size() < at + written.size()) {
            bytes.resize(at + written.size(), '\0');
        }
        bytes.replace(at, written.size(), written);
    }

    [[nodiscard]] std::string number32(std::uint32_t value) const {
        std::string bytes;
        put32(bytes, value);
        return bytes;
    }

private:
    void put(std::string& to, std::uint32_t value, int size) const {
        for (int i = 0; i < size; ++i) {
            const int shift = 8 * (bigEndian_ ? size - 1 - i : i);
            to += static_cast<char>((value >> shift) & 0xFF);
        }
    }

    bool bigEndian_;
};

// Writes a TIFF file as a camera writes its raw files: the first directory with the
// camera's make and model (and `firstExtra`) and the Exif directory's offset, the Exif
// directory with `exif`.
void writeTiff(const std::string& path, const Layout& layout, const std::vector<Tag>& first,
               const std::vector<Tag>& exif) {
    const TiffWriter writer(layout.bigEndian);
    std::string bytes = layout.header;
    if (bytes.empty()) {
        bytes = layout.bigEndian ? std::string("MM\0\x2A", 4) : std::string("II\x2A\0", 4);
        bytes += writer.number32(8);
    }
    std::vector<Tag> firstTags = first;
    firstTags.push_back(
        {exifPointer, longType, writer.number32(layout.exifPointer.value_or(layout.exifAt))});
    writer.directory(bytes, 8, firstTags);
    writer.directory(bytes, layout.exifAt, exif);
    bytes.resize(std::max<std::size_t>(bytes.size(), layout.size), '\0');
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

const std::vector<Tag> canonFirst{text(0x010F, "Canon"), text(0x0110, "Canon EOS R6")};
// 2024-07-01 10:00:05.55 at +02:00, 08:00:05.55 UTC.
const std::vector<Tag> canonExif{text(0x9003, "2024:07:01 10:00:05"), text(0x9011, "+02:00"),
                                 text(0x9291, "550"), text(0xA431, "012345  "),
                                 text(0x9004, "2024:07:01 10:00:09")};
constexpr std::int64_t canonTaken = 1'719'820'805 * second + 550'000'000;

UniqueFd openFolder(const TemporaryFolder& folder) {
    return UniqueFd(::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// The tags of the file `name`, its first `headSize` bytes read before.
std::optional<TiffDateTags> tagsOf(const TemporaryFolder& folder, const std::string& name,
                                   std::size_t headSize = 0) {
    const UniqueFd file(::open(folder.pathOf(name).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (!file.valid() || ::fstat(file.get(), &status) != 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> head(headSize);
    head.resize(static_cast<std::size_t>(
        std::max<ssize_t>(::pread(file.get(), head.data(), head.size(), 0), 0)));
    return readTiffDateTags(file, static_cast<std::uint64_t>(status.st_size), head);
}

// A raw file's directories can lie anywhere in it, megabytes past its head (where a camera
// puts its preview first): wherever they are, in either byte order, the date comes from a
// few small reads of them, and is the one Exiv2 reads from the whole file.
TEST(TiffDateTags, AreReadFromTheDirectoriesWhereverTheyLie) {
    TemporaryFolder folder;
    for (const bool bigEndian : {false, true}) {
        for (const std::uint32_t exifAt : {std::uint32_t{4096}, 3 * megabyte}) {
            const std::string name =
                std::string(bigEndian ? "MM" : "II") + "_" + std::to_string(exifAt) + ".CR2";
            writeTiff(folder.pathOf(name), {bigEndian, exifAt, {}, exifAt + 64 * 1024, {}},
                      canonFirst, canonExif);
            const auto tags = tagsOf(folder, name);
            ASSERT_TRUE(tags) << name;
            EXPECT_EQ(tags->dateTimeOriginal, "2024:07:01 10:00:05") << name;
            EXPECT_EQ(tags->offsetTimeOriginal, "+02:00") << name;
            EXPECT_EQ(tags->subSecTimeOriginal, "550") << name;
            EXPECT_EQ(tags->dateTimeDigitized, "2024:07:01 10:00:09") << name;
            EXPECT_EQ(tags->bodySerialNumber, "012345  ") << name;
            EXPECT_EQ(tags->make, "Canon") << name;
            EXPECT_EQ(tags->model, "Canon EOS R6") << name;
            // The header, each directory, and the values of each, where they lie apart:
            // a few kilobytes, nothing of the megabytes between.
            EXPECT_LE(tags->reads, 5U) << name;
            EXPECT_LT(tags->bytesRead, 8U * 1024) << name;
            // What the head read already holds is not read again: nothing of a raw file
            // whose directories lie in its first 16 KB, the Exif directory and its values
            // of the other.
            const auto inHead = tagsOf(folder, name, 16 * 1024);
            ASSERT_TRUE(inHead) << name;
            EXPECT_EQ(inHead->dateTimeOriginal, tags->dateTimeOriginal) << name;
            EXPECT_EQ(inHead->make, tags->make) << name;
            EXPECT_EQ(inHead->reads, exifAt < 16 * 1024 ? 0U : 2U) << name;

            const UniqueFd opened = openFolder(folder);
            const auto read = readDateTaken(opened, name);
            ASSERT_TRUE(read) << name;
            EXPECT_EQ(read->taken, canonTaken) << name;
            EXPECT_EQ(read->offset, 7'200) << name;
            EXPECT_EQ(read->camera, "Canon EOS R6") << name;
            EXPECT_EQ(read->serial, "012345") << name;
            EXPECT_EQ(read, readDateTakenAsExiv2Does(opened, name)) << name;
        }
    }
}

// The bytes this thread has read through read calls so far; none where the system does not
// count them.
std::optional<std::uint64_t> bytesReadSoFar() {
    std::ifstream io("/proc/thread-self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") {
            return value;
        }
    }
    return std::nullopt;
}

// Reading the date of a raw file whose Exif directory lies 3 MB in takes its first block and
// the few hundred bytes of its Exif directory, not the first 120 KB and then a reading of the
// whole file by Exiv2.
TEST(TiffDateTags, ReadTakesOnlyTheHeadAndTheDirectories) {
    if (!bytesReadSoFar()) {
        GTEST_SKIP() << "this system does not count the bytes a thread reads";
    }
    TemporaryFolder folder;
    writeTiff(folder.pathOf("far.NEF"), {true, 3 * megabyte, {}, 4 * megabyte, {}}, canonFirst,
              canonExif);
    const UniqueFd opened = openFolder(folder);
    ASSERT_TRUE(readDateTaken(opened, "far.NEF"));
    const std::uint64_t before = *bytesReadSoFar();
    const auto read = readDateTaken(opened, "far.NEF");
    const std::uint64_t after = *bytesReadSoFar();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->taken, canonTaken);
    EXPECT_LT(after - before, 24U * 1024);
}

// A file whose directories are odd is not read by them but as any other file is, so that it
// gives what Exiv2 makes of it, and never a date from a place no reader would look.
TEST(TiffDateTags, GiveWayWhereTheStructureIsOdd) {
    TemporaryFolder folder;
    const TiffWriter little(false);
    // The first directory itself holds a date, where Exiv2 reads none: an Exif directory
    // that loops back to it must not find it there.
    std::vector<Tag> firstWithDate = canonFirst;
    firstWithDate.push_back(text(0x9003, "2024:07:01 10:00:05"));
    std::vector<Tag> manyEntries = canonExif;
    for (std::uint16_t tag = 0xC000; tag < 0xC000 + 300; ++tag) {
        manyEntries.push_back({tag, longType, little.number32(0)});
    }
    std::vector<Tag> dateTwice = canonExif;
    dateTwice.push_back(text(0x9003, "2024:07:01 11:00:05"));
    std::vector<Tag> dateNotText = canonExif;
    dateNotText.front().type = undefined;
    std::vector<Tag> firstPointingTwice = canonFirst;
    firstPointingTwice.push_back({exifPointer, longType, little.number32(8)});
    std::vector<Tag> longText = canonExif;
    longText.push_back(text(0x9292, std::string(70'000, '1')));
    std::vector<Tag> dateBeyondTheEnd = canonExif;
    dateBeyondTheEnd.push_back(text(0x9292, std::string(10'000, '1')));
    struct Case {
        const char* name;
        Layout layout;
        std::vector<Tag> first;
        std::vector<Tag> exif;
        bool exiv2FindsADate;
    };
    const Case cases[] = {
        {"loop.NEF", {false, 4096, 8, 8192, {}}, firstWithDate, canonExif, false},
        {"loop big.NEF", {true, 4096, 8, 8192, {}}, firstWithDate, canonExif, false},
        {"past the end.NEF", {false, 4096, 3 * megabyte, 8192, {}}, canonFirst, canonExif, false},
        {"into the header.NEF", {false, 4096, 4, 8192, {}}, canonFirst, canonExif, false},
        {"no TIFF.NEF",
         {false, 4096, {}, 8192, std::string("IIxx\x08\0\0\0", 8)},
         canonFirst,
         canonExif,
         false},
        {"many entries.NEF", {false, 4096, {}, 16384, {}}, canonFirst, manyEntries, false},
        {"date twice.NEF", {false, 4096, {}, 8192, {}}, canonFirst, dateTwice, true},
        {"date not text.NEF", {false, 4096, {}, 8192, {}}, canonFirst, dateNotText, true},
        {"pointer twice.NEF", {false, 4096, {}, 8192, {}}, firstPointingTwice, canonExif, true},
        {"long text.NEF", {false, 4096, {}, 8192, {}}, canonFirst, longText, true},
    };
    for (const Case& c : cases) {
        writeTiff(folder.pathOf(c.name), c.layout, c.first, c.exif);
    }
    // A value that runs past the file's end: the file cut short after its Exif directory.
    writeTiff(folder.pathOf("cut.NEF"), {false, 4096, {}, 0, {}}, canonFirst, dateBeyondTheEnd);
    {
        std::ifstream in(folder.pathOf("cut.NEF"), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bytes.resize(bytes.size() - 5'000);
        std::ofstream(folder.pathOf("cut.NEF"), std::ios::binary | std::ios::trunc) << bytes;
    }
    const UniqueFd opened = openFolder(folder);
    for (const Case& c : cases) {
        EXPECT_FALSE(tagsOf(folder, c.name)) << c.name;
        const auto read = readDateTaken(opened, c.name);
        EXPECT_EQ(read, readDateTakenAsExiv2Does(opened, c.name)) << c.name;
        EXPECT_EQ(read.has_value(), c.exiv2FindsADate) << c.name;
    }
    EXPECT_FALSE(tagsOf(folder, "cut.NEF"));
    EXPECT_EQ(readDateTaken(opened, "cut.NEF"), readDateTakenAsExiv2Does(opened, "cut.NEF"));
}

// A file whose first directory names no camera may name it in its XMP packet, which only
// Exiv2's reading of the whole file finds.
TEST(TiffDateTags, LeaveTheCameraToXmpWhereTheDirectoriesNameNone) {
    TemporaryFolder folder;
    const std::string packet =
        "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?><x:xmpmeta "
        "xmlns:x=\"adobe:ns:meta/\">"
        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
        "rdf:about=\"\" xmlns:video=\"http://www.video/\" video:Make=\"GoPro\" "
        "video:Model=\"HERO9 Black\"/></rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>";
    constexpr std::uint16_t byteType = 1;
    writeTiff(folder.pathOf("GOPR0001.DNG"), {}, {{0x02BC, byteType, packet}}, canonExif);
    const UniqueFd opened = openFolder(folder);
    const auto read = readDateTaken(opened, "GOPR0001.DNG");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->camera, "GoPro HERO9 Black");
    EXPECT_EQ(read, readDateTakenAsExiv2Does(opened, "GOPR0001.DNG"));
}

// Every file of the trip reads as Exiv2 reads it whole, and so do its raw files written as
// the TIFF files they are, in either byte order.
TEST(TiffDateTags, AgreeWithExiv2OnTheTrip) {
    const testing::BerlinTime berlin;
    const testing::TripFolder trip;
    const UniqueFd opened = openFolder(trip.folder());
    std::size_t dated = 0;
    for (const std::string& name : trip.folder().names()) {
        const auto read = readDateTaken(opened, name);
        EXPECT_EQ(read, readDateTakenAsExiv2Does(opened, name)) << name;
        dated += read ? 1 : 0;
    }
    EXPECT_EQ(dated, 9U);

    TemporaryFolder raws;
    const std::vector<Tag> nikonFirst{text(0x010F, "NIKON CORPORATION"),
                                      text(0x0110, "NIKON D750")};
    const std::vector<Tag> nikonExif{text(0x9003, "2024:07:01 08:50:00"), text(0x9291, "07")};
    const std::vector<Tag> canonNoOriginal{text(0x9004, "2024:07:01 10:30:00"),
                                           text(0x9012, "+02:00"), text(0x9292, "5")};
    for (const bool bigEndian : {false, true}) {
        const std::string order = bigEndian ? "MM" : "II";
        writeTiff(raws.pathOf(order + "DSC_0100.NEF"), {bigEndian, 300, {}, 9000, {}}, nikonFirst,
                  nikonExif);
        writeTiff(raws.pathOf(order + "IMG_0002.CR2"), {bigEndian, 200 * 1024, {}, megabyte, {}},
                  canonFirst, canonNoOriginal);
        writeTiff(raws.pathOf(order + "P1.ORF"),
                  {bigEndian,
                   300,
                   {},
                   9000,
                   bigEndian ? std::string("MMOR\0\0\0\x08", 8) : std::string("IIRO\x08\0\0\0", 8)},
                  canonFirst, canonExif);
    }
    const UniqueFd rawFolder = openFolder(raws);
    for (const std::string& name : raws.names()) {
        EXPECT_TRUE(tagsOf(raws, name)) << name;
        const auto read = readDateTaken(rawFolder, name);
        ASSERT_TRUE(read) << name;
        EXPECT_EQ(read, readDateTakenAsExiv2Does(rawFolder, name)) << name;
    }
}

} // namespace
} // namespace brindleaf
