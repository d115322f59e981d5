#include "RegistrySettingsStore.hpp"

#include "RegistryKey.hpp"
#include "support/WideText.hpp"

namespace quarnel {

std::string RegistrySettingsStore::KeyName(std::string_view application,
                                           std::string_view section) const {
    std::string name = base_;
    name.append("\\").append(application).append("\\").append(section);
    return name;
}

std::wstring RegistrySettingsStore::KeyPath(std::string_view application,
                                            std::string_view section) const {
    return WideFromUtf8(KeyName(application, section));
}

std::optional<std::string> RegistrySettingsStore::Read(std::string_view application,
                                                       std::string_view section,
                                                       std::string_view key) {
    RegistryKey settings;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(application, section).c_str(), 0,
                        KEY_QUERY_VALUE, settings.Out()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring valueName = WideFromUtf8(key);
    // The value may change between asking for its size and reading it: ask again then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD bytes = 0;
        LSTATUS status = ::RegGetValueW(settings.Get(), nullptr, valueName.c_str(), RRF_RT_REG_SZ,
                                        nullptr, nullptr, &bytes);
        if (status != ERROR_SUCCESS) return std::nullopt;
        std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        status = ::RegGetValueW(settings.Get(), nullptr, valueName.c_str(), RRF_RT_REG_SZ, nullptr,
                                value.data(), &bytes);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        value.resize(bytes / sizeof(wchar_t));
        while (!value.empty() && value.back() == L'\0') value.pop_back();
        return Utf8FromWide(value);
    }
    return std::nullopt;
}

SettingsPlace RegistrySettingsStore::Place(std::string_view application, std::string_view section) {
    RegistryKey settings;
    const LSTATUS status = ::RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(application, section).c_str(),
                                           0, KEY_QUERY_VALUE, settings.Out());
    return {"HKEY_CURRENT_USER\\" + KeyName(application, section),
            status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND};
}

bool RegistrySettingsStore::Write(std::string_view application, std::string_view section,
                                  std::string_view key, std::string_view value) {
    RegistryKey settings;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(application, section).c_str(), 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, settings.Out(),
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring data = WideFromUtf8(value);
    const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(settings.Get(), WideFromUtf8(key).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

}  // namespace quarnel
