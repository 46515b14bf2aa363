#pragma once

#include <set>
#include <string>

namespace brindleaf::testing {

// A fresh folder under the system's temporary directory, removed with everything in it when
// the object goes out of scope.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string pathOf(const std::string& name) const { return path_ + "/" + name; }

    // Creates a file whose content is its own name, so tests can tell which entry is which.
    void addFile(const std::string& name) const;
    void addFolder(const std::string& name) const;
    void addSymlink(const std::string& name, const std::string& target) const;

    [[nodiscard]] std::set<std::string> names() const;
    // The content of the file `name`: its original name, as written by addFile().
    [[nodiscard]] std::string contentOf(const std::string& name) const;

private:
    std::string path_;
};

} // namespace brindleaf::testing
