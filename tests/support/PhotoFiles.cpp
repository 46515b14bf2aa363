#include "support/PhotoFiles.hpp"

#include <exiv2/exiv2.hpp>

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <stdexcept>

namespace brindleaf::testing {

void writePhoto(const std::string& path, const std::string& date, const std::string& offset,
                const std::string& tag) {
    {
        std::ofstream file(path, std::ios::binary);
        file << "\xFF\xD8\xFF\xD9"; // start and end of image
    }
    const auto image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    Exiv2::ExifData exif;
    exif[tag] = date;
    if (!offset.empty()) {
        exif[tag == "Exif.Photo.DateTimeOriginal" ? "Exif.Photo.OffsetTimeOriginal"
                                                  : "Exif.Photo.OffsetTimeDigitized"] = offset;
    }
    image->setExifData(exif);
    image->writeMetadata();
}

void writeCameraPhoto(const std::string& path, const CameraTags& tags) {
    {
        std::ofstream file(path, std::ios::binary);
        file << "\xFF\xD8\xFF\xD9";
    }
    writeCameraTags(path, tags);
}

void writeCameraTags(const std::string& path, const CameraTags& tags) {
    const auto image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    Exiv2::ExifData exif;
    const std::string kind = tags.digitized ? "Digitized" : "Original";
    const std::pair<std::string, const std::string*> written[] = {
        {"Exif.Photo.DateTime" + kind, &tags.date},
        {"Exif.Photo.OffsetTime" + kind, &tags.offset},
        {"Exif.Photo.SubSecTime" + kind, &tags.subSecond},
        {"Exif.Image.Make", &tags.make},
        {"Exif.Image.Model", &tags.model},
        {"Exif.Photo.BodySerialNumber", &tags.serial},
    };
    for (const auto& [key, value] : written) {
        if (!value->empty()) {
            exif[key] = *value;
        }
    }
    image->setExifData(exif);
    image->writeMetadata();
}

void setModified(const std::string& path, std::int64_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
        throw std::runtime_error("cannot set the modified time of " + path);
    }
}

} // namespace brindleaf::testing
