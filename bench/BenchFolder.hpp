#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brindleaf::bench {

// A folder of `count` files with names like a camera, a scanner and people make them, each
// holding `content` (empty by default), created under `base` and removed with everything in
// it at the end.
class BenchFolder {
public:
    // `shuffled`: the files are created in a random (but repeatable) order, as people's
    // folders fill, rather than in the order of their names.
    BenchFolder(const std::string& base, std::size_t count, bool shuffled = false,
                std::string_view content = {});
    ~BenchFolder();
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    [[nodiscard]] const std::string& path() const { return path_; }

    // The name of the i-th file that was created.
    static std::string realisticName(std::size_t i);

private:
    std::string path_;
};

} // namespace brindleaf::bench
