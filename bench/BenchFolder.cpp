#include "bench/BenchFolder.hpp"

#include "platform/UniqueFd.hpp"

#include <fcntl.h>
#include <stdlib.h>

#include <array>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace brindleaf::bench {

std::string BenchFolder::realisticName(std::size_t i) {
    const std::string n = std::to_string(i);
    switch (i % 8) {
    case 0:
        return "IMG_" + n + ".JPG";
    case 1:
        return "DSC0" + n + ".jpg";
    case 2:
        return "file" + n + ".txt";
    case 3:
        return "holiday photo " + n + ".png";
    case 4:
        return "Scan " + n + " (page 2).PDF";
    case 5:
        return "PXL_20240701_" + n + "_MP.jpg";
    case 6:
        return "Report final v" + n + " copy.docx";
    default:
        return "audio_take_" + n + ".WAV";
    }
}

BenchFolder::BenchFolder(const std::string& base, std::size_t count) {
    std::string pattern = base + "/brindleaf-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a folder under " + base);
    }
    path_ = pattern;
    const UniqueFd folder(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (std::size_t i = 0; i < count; ++i) {
        const UniqueFd file(::openat(folder.get(), realisticName(i).c_str(),
                                     O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644));
        if (!file.valid()) {
            throw std::runtime_error("cannot create " + realisticName(i));
        }
    }
}

BenchFolder::~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace brindleaf::bench
