#include "CommandLineName.hpp"

#include <windows.h>

#include <shellapi.h>

#include "support/LongPathPrefix.hpp"
#include "support/WideText.hpp"

namespace quarnel {

std::vector<std::string> CommandLineArguments() {
    int count = 0;
    LPWSTR* const arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> result;
    if (arguments == nullptr) return result;
    for (int i = 1; i < count; ++i) result.push_back(Utf8FromWide(arguments[i]));
    ::LocalFree(arguments);
    return result;
}

std::string FullNameFrom(const std::string& path) {
    const std::wstring wide = WideFromUtf8(path);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return WithoutLongPathPrefix(path);
        if (length < full.size()) {
            full.resize(length);
            return WithoutLongPathPrefix(Utf8FromWide(full));
        }
        full.resize(length);
    }
}

}  // namespace quarnel
