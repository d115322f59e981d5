// Test helper run under Wine: writes the clipboard's CF_UNICODETEXT to standard output as UTF-8,
// byte for byte (CR LF stays CR LF). Exits with 1 when the clipboard holds no text.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "platform/windows/WideText.hpp"

int main() {
    _setmode(_fileno(stdout), _O_BINARY);
    if (!OpenClipboard(nullptr)) return 2;
    std::wstring text;
    bool found = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = locked;
            found = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    if (!found) return 1;
    const std::string utf8 = quarnel::Utf8FromWide(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    return 0;
}
