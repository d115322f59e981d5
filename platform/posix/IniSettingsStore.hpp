// The settings store on Linux: one file per section, "<config home>/<application>/<section>.ini",
// with the values under "[General]".
#pragma once

#include <filesystem>

#include "platform/SettingsStore.hpp"

namespace quarnel {

class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(std::filesystem::path configHome);

    // $XDG_CONFIG_HOME where it is an absolute path (a relative one is ignored, as the XDG base
    // directory rules ask), else ~/.config.
    static std::filesystem::path DefaultConfigHome();

    std::optional<std::string> Read(std::string_view application, std::string_view section,
                                    std::string_view key) override;
    bool Write(std::string_view application, std::string_view section, std::string_view key,
               std::string_view value) override;
    // The file's path; it can be read unless it exists and cannot be opened or is no regular
    // file, which a write then never replaces.
    SettingsPlace Place(std::string_view application, std::string_view section) override;

    std::filesystem::path FilePath(std::string_view application, std::string_view section) const;

private:
    std::filesystem::path configHome_;
};

}  // namespace quarnel
