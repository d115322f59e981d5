// Settings in the registry: the value `key` (REG_SZ) under
// HKEY_CURRENT_USER\<base>\<application>\<section>.
#pragma once

#include <string>

#include "platform/SettingsStore.hpp"

namespace quarnel {

class RegistrySettingsStore final : public SettingsStore {
public:
    // base is the key below HKEY_CURRENT_USER that holds the applications; tests pass their own.
    explicit RegistrySettingsStore(std::string base = "Software") : base_(std::move(base)) {}

    // A value of another type than REG_SZ, or one that cannot be read, counts as missing.
    std::optional<std::string> Read(std::string_view application, std::string_view section,
                                    std::string_view key) override;
    bool Write(std::string_view application, std::string_view section, std::string_view key,
               std::string_view value) override;
    // The key's full name from HKEY_CURRENT_USER; it can be read unless it exists and cannot be
    // opened for reading.
    SettingsPlace Place(std::string_view application, std::string_view section) override;

private:
    std::string KeyName(std::string_view application, std::string_view section) const;
    std::wstring KeyPath(std::string_view application, std::string_view section) const;

    std::string base_;
};

}  // namespace quarnel
