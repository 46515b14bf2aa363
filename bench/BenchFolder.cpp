#include "bench/BenchFolder.hpp"

#include "platform/UniqueFd.hpp"

#include <fcntl.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <numeric>
#include <random>
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

BenchFolder::BenchFolder(const std::string& base, std::size_t count, bool shuffled,
                         std::string_view content) {
    std::string pattern = base + "/brindleaf-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a folder under " + base);
    }
    path_ = pattern;
    const UniqueFd folder(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    if (shuffled) {
        std::mt19937 random(20261206);
        std::ranges::shuffle(order, random);
    }
    for (const std::size_t i : order) {
        const UniqueFd file(::openat(folder.get(), realisticName(i).c_str(),
                                     O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644));
        if (!file.valid() || ::write(file.get(), content.data(), content.size()) !=
                                 static_cast<ssize_t>(content.size())) {
            throw std::runtime_error("cannot create " + realisticName(i));
        }
    }
}

BenchFolder::~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace brindleaf::bench
