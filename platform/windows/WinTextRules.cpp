#include "WinTextRules.hpp"

#include <windows.h>

#include "support/WideText.hpp"

namespace quarnel {
namespace {

std::wstring Mapped(std::string_view text, DWORD flags) {
    const std::wstring wide = WideFromUtf8(text);
    if (wide.empty()) return wide;
    const int length = static_cast<int>(wide.size());
    // case mapping keeps the length: one character for one
    std::wstring mapped(wide.size(), L'\0');
    if (::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide.data(), length, mapped.data(), length,
                        nullptr, nullptr, 0) == 0) {
        return wide;
    }
    return mapped;
}

}  // namespace

void WinTextRules::AppendCollationKey(std::string_view text, std::string& keys) const {
    const std::wstring wide = WideFromUtf8(text);
    if (wide.empty()) return;
    constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = static_cast<int>(wide.size());
    const int needed = ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide.data(), length,
                                       nullptr, 0, nullptr, nullptr, 0);
    if (needed <= 0) return;
    const std::size_t start = keys.size();
    keys.resize(start + static_cast<std::size_t>(needed));
    const int written =
        ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide.data(), length,
                        reinterpret_cast<LPWSTR>(keys.data() + start), needed, nullptr, nullptr, 0);
    // the key ends in a zero byte, which adds nothing to the order
    const std::size_t kept = written > 0 ? static_cast<std::size_t>(written) : 0;
    keys.resize(start + (kept > 0 && keys[start + kept - 1] == '\0' ? kept - 1 : kept));
}

std::string WinTextRules::ToUpper(std::string_view text) const {
    return Utf8FromWide(Mapped(text, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING));
}

std::string WinTextRules::ToLower(std::string_view text) const {
    return Utf8FromWide(Mapped(text, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING));
}

}  // namespace quarnel
