// The version numbers from the running exe's version record.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/ProgramVersion.hpp"

namespace quarnel {

ProgramVersion RunningVersion() {
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
        if (length == 0) return {};
        if (length < exe.size()) {
            exe.resize(length);
            break;
        }
        exe.resize(exe.size() * 2);
    }
    const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), nullptr);
    if (size == 0) return {};
    std::vector<unsigned char> record(size);
    if (!::GetFileVersionInfoW(exe.c_str(), 0, size, record.data())) return {};
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!::VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixedSize < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    return {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
            LOWORD(fixed->dwFileVersionLS)};
}

}  // namespace quarnel
