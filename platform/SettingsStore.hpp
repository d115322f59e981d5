// Per-user settings store: one string value per (application, section, key).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

// Where the values of an application's section are kept, as a user would look for them (a
// file's path, a registry key), and whether what is kept there can be read: a place that does
// not exist yet can, as it holds nothing.
struct SettingsPlace {
    std::string name;
    bool readable = true;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // nullopt when the value does not exist or cannot be read; an existing empty value is "".
    virtual std::optional<std::string> Read(std::string_view application, std::string_view section,
                                            std::string_view key) = 0;
    // false when the value could not be stored.
    virtual bool Write(std::string_view application, std::string_view section, std::string_view key,
                       std::string_view value) = 0;
    virtual SettingsPlace Place(std::string_view application, std::string_view section) = 0;
};

}  // namespace quarnel
