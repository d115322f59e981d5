// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <filesystem>
#include <string>

#include <stdlib.h>

namespace quarnel::testing {

class TempFolder {
public:
    TempFolder() : TempFolder(std::filesystem::temp_directory_path()) {}
    explicit TempFolder(const std::filesystem::path& parent) {
        std::string pattern = (parent / "quarnel-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }

    // Memory-backed where the system has it: thousands of nested folders are made in a moment
    // there, while a disk may spend seconds placing each new folder.
    static std::filesystem::path FastParent() {
        std::error_code ignored;
        return std::filesystem::is_directory("/dev/shm", ignored)
                   ? std::filesystem::path("/dev/shm")
                   : std::filesystem::temp_directory_path();
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace quarnel::testing
