#pragma once

#include "platform/UniqueFd.hpp"

#include <sys/mman.h>

#include <cstddef>

namespace brindleaf {

// A read-only view of a whole file, unmapped when it goes. Pages are read only when touched,
// so a reader that needs a few parts of a large file reads only those.
class MappedFile {
public:
    MappedFile(const UniqueFd& file, std::size_t size)
        : size_(size), data_(::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.get(), 0)) {}
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile() {
        if (data_ != MAP_FAILED) {
            ::munmap(data_, size_);
        }
    }
    [[nodiscard]] bool isMapped() const { return data_ != MAP_FAILED; }
    [[nodiscard]] const unsigned char* bytes() const { return static_cast<unsigned char*>(data_); }
    [[nodiscard]] std::size_t size() const { return size_; }

private:
    std::size_t size_;
    void* data_;
};

} // namespace brindleaf
