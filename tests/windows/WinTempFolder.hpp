// A fresh folder under Windows' temporary folder, removed with everything in it. Paths are
// UTF-8 strings with "\", as the program's own paths are.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/windows/support/WideText.hpp"

namespace quarnel::testing {

class WinTempFolder {
public:
    WinTempFolder() {
        const auto base = std::filesystem::temp_directory_path();
        for (unsigned attempt = ::GetTickCount();; ++attempt) {
            path_ = base / (L"quarnel-test-" + std::to_wstring(attempt));
            if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
        }
    }
    ~WinTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    WinTempFolder(const WinTempFolder&) = delete;
    WinTempFolder& operator=(const WinTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder's full name in UTF-8, ending without a separator.
    std::string Name() const { return Utf8FromWide(path_.wstring()); }

private:
    std::filesystem::path path_;
};

}  // namespace quarnel::testing
