// Per-user settings store: one string value per (application, section, key).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // nullopt when the value does not exist or cannot be read; an existing empty value is "".
    virtual std::optional<std::string> Read(std::string_view application, std::string_view section,
                                            std::string_view key) = 0;
    // false when the value could not be stored.
    virtual bool Write(std::string_view application, std::string_view section, std::string_view key,
                       std::string_view value) = 0;
};

}  // namespace quarnel
