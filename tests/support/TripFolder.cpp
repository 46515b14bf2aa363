#include "support/TripFolder.hpp"

#include "support/PhotoFiles.hpp"

#include <cstdlib>
#include <ctime>
#include <fstream>

namespace brindleaf::testing {

namespace {

CameraTags canon(const char* date, const char* subSecond = "") {
    return {date, "+02:00", subSecond, "Canon", "Canon EOS R6", "", false};
}

CameraTags nikon(const char* date) {
    return {date, "", "", "NIKON CORPORATION", "NIKON D750", "", false};
}

} // namespace

TripFolder::TripFolder() {
    const std::pair<const char*, CameraTags> photos[] = {
        {"DSC_0100.NEF", nikon("2024:07:01 08:50:00")},
        {"DSC_0100.JPG", nikon("2024:07:01 08:50:00")},
        {"IMG_9999.JPG", canon("2024:07:01 10:00:05", "10")},
        {"IMG_0001.JPG", canon("2024:07:01 10:00:05", "55")},
        {"IMG_0012.HEIC", {"2024:07:01 09:10:00", "+01:00", "", "Apple", "iPhone 13", "", false}},
        {"DSC_0101.JPG", nikon("2024:07:01 09:20:00")},
        {"IMG_0002.CR2", canon("2024:07:01 10:30:00")},
        {"IMG_0002.JPG", canon("2024:07:01 10:30:00")},
        {"IMG_0012.JPG", canon("2024:07:01 11:03:00")},
    };
    // 2024-07-10 00:00 UTC.
    constexpr std::int64_t modified = 1'720'569'600;
    for (const auto& [name, tags] : photos) {
        writeCameraPhoto(folder_.pathOf(name), tags);
        setModified(folder_.pathOf(name), modified);
    }
    for (const char* name : {"dsc_0100.xmp", "IMG_0002.cr2.xmp", "notes.txt"}) {
        folder_.addFile(name);
        setModified(folder_.pathOf(name), modified);
    }
    folder_.addFolder("Edits");
}

std::vector<std::string> TripFolder::trueOrder() {
    return {"DSC_0100", "IMG_9999", "IMG_0001",    "IMG_0012.HEIC",
            "DSC_0101", "IMG_0002", "IMG_0012.JPG"};
}

BerlinTime::BerlinTime() {
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    ::tzset();
}

BerlinTime::~BerlinTime() {
    ::unsetenv("TZ");
    ::tzset();
}

} // namespace brindleaf::testing
