// wine_probe.exe: what the end-to-end tests ask of the Windows side, run beside quarnel.exe
// under Wine.
//   wine_probe clipboard          the clipboard's CF_UNICODETEXT as UTF-8 bytes, CR LF kept
//   wine_probe set-clipboard T    puts the UTF-8 text T on the clipboard
//   wine_probe watch-clipboard F  listens to the clipboard (creating the file F once it does),
//                                 and prints the first text put on it after that, UTF-8 bytes
//   wine_probe shortcut F         what the shell reads from the shortcut F, one line each: target,
//                                 arguments, working folder, icon file, icon index
//   wine_probe windows            every top-level window and its children, one line each:
//       top|child <handle> <parent> <id> <style> <exstyle> <left> <top> <right> <bottom>
//       <class>\t<text>            (screen coordinates of the client area, hex styles)
#include <fcntl.h>
#include <io.h>
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/windows/support/WideText.hpp"

namespace {

using quarnel::Utf8FromWide;
using quarnel::WideFromUtf8;

int PrintClipboard() {
    if (!::OpenClipboard(nullptr)) return 2;
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    std::string text;
    if (data != nullptr) {
        text = Utf8FromWide(static_cast<const wchar_t*>(::GlobalLock(data)));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    if (data == nullptr) return 3;
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

int SetClipboard(const char* utf8) {
    const std::wstring text = WideFromUtf8(utf8);
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(::GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    if (!::OpenClipboard(nullptr)) return 2;
    ::EmptyClipboard();
    const bool placed = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    ::CloseClipboard();
    return placed ? 0 : 2;
}

// Wine drops a program's clipboard text when the program ends while nothing else keeps Wine
// running: a listener started before the program sees the text while it is there.
int WatchClipboard(const wchar_t* readyFile) {
    const HWND listener = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            ::GetModuleHandleW(nullptr), nullptr);
    if (listener == nullptr || !::AddClipboardFormatListener(listener)) return 2;
    ::CloseHandle(::CreateFileW(readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ::SetTimer(nullptr, 0, 60000, nullptr);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) return 4;
        if (message.message == WM_CLIPBOARDUPDATE && PrintClipboard() == 0) return 0;
        ::DispatchMessageW(&message);
    }
    return 4;
}

// Read through IShellLinkW, as Explorer does for "Senden an" and the Start menu.
int PrintShortcut(const wchar_t* file) {
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    int status = 2;
    {
        Microsoft::WRL::ComPtr<IShellLinkW> link;
        Microsoft::WRL::ComPtr<IPersistFile> persisted;
        wchar_t target[MAX_PATH] = {}, arguments[1024] = {}, folder[MAX_PATH] = {},
                icon[MAX_PATH] = {};
        int iconIndex = 0;
        if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&link))) &&
            SUCCEEDED(link.As(&persisted)) && SUCCEEDED(persisted->Load(file, STGM_READ)) &&
            SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
            SUCCEEDED(link->GetArguments(arguments, 1024)) &&
            SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)) &&
            SUCCEEDED(link->GetIconLocation(icon, MAX_PATH, &iconIndex))) {
            std::printf("%s\n%s\n%s\n%s\n%d\n", Utf8FromWide(target).c_str(),
                        Utf8FromWide(arguments).c_str(), Utf8FromWide(folder).c_str(),
                        Utf8FromWide(icon).c_str(), iconIndex);
            status = 0;
        }
    }
    ::CoUninitialize();
    return status;
}

void PrintWindow(const char* kind, HWND window) {
    wchar_t className[256] = {};
    ::GetClassNameW(window, className, 256);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::printf("%s %llx %llx %ld %lx %lx %ld %ld %ld %ld %s\t%s\n", kind,
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(::GetParent(window))),
                static_cast<long>(::GetDlgCtrlID(window)),
                static_cast<unsigned long>(::GetWindowLongW(window, GWL_STYLE)),
                static_cast<unsigned long>(::GetWindowLongW(window, GWL_EXSTYLE)), client.left,
                client.top, client.right, client.bottom, Utf8FromWide(className).c_str(),
                Utf8FromWide(text).c_str());
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    PrintWindow("child", child);
    return TRUE;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM) {
    if (!::IsWindowVisible(window)) return TRUE;
    PrintWindow("top", window);
    ::EnumChildWindows(window, PrintChild, 0);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    ::_setmode(::_fileno(stdout), _O_BINARY);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"clipboard") return PrintClipboard();
    if (command == L"set-clipboard" && argc > 2) return SetClipboard(Utf8FromWide(argv[2]).c_str());
    if (command == L"watch-clipboard" && argc > 2) return WatchClipboard(argv[2]);
    if (command == L"shortcut" && argc > 2) return PrintShortcut(argv[2]);
    if (command == L"windows") return ::EnumWindows(PrintTopLevel, 0) ? 0 : 2;
    std::fputs(
        "wine_probe clipboard | set-clipboard TEXT | watch-clipboard FILE | shortcut FILE | "
        "windows\n",
        stderr);
    return 64;
}
