#include "support/TemporaryFolder.hpp"

#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace brindleaf::testing {

TemporaryFolder::TemporaryFolder() {
    const std::string base = std::filesystem::temp_directory_path().string();
    std::vector<char> pattern(base.begin(), base.end());
    const std::string tail = "/brindleaf-test-XXXXXX";
    pattern.insert(pattern.end(), tail.begin(), tail.end());
    pattern.push_back('\0');
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern.data();
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void TemporaryFolder::addFile(const std::string& name) const {
    std::ofstream file(pathOf(name), std::ios::binary);
    file << name;
    if (!file) {
        throw std::runtime_error("cannot create " + name);
    }
}

void TemporaryFolder::addFolder(const std::string& name) const {
    if (::mkdir(pathOf(name).c_str(), 0755) != 0) {
        throw std::runtime_error("cannot create folder " + name);
    }
}

void TemporaryFolder::addSymlink(const std::string& name, const std::string& target) const {
    if (::symlink(target.c_str(), pathOf(name).c_str()) != 0) {
        throw std::runtime_error("cannot create link " + name);
    }
}

std::set<std::string> TemporaryFolder::names() const {
    std::set<std::string> result;
    DIR* dir = ::opendir(path_.c_str());
    if (dir == nullptr) {
        throw std::runtime_error("cannot list " + path_);
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            result.insert(name);
        }
    }
    ::closedir(dir);
    return result;
}

std::string TemporaryFolder::contentOf(const std::string& name) const {
    std::ifstream file(pathOf(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace brindleaf::testing
