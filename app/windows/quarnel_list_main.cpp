// quarnel-list.exe: the drop pipeline over the paths given as arguments, text to standard output.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "cli/ListCommand.hpp"
#include "platform/windows/CommandLineName.hpp"
#include "platform/windows/RegistrySettingsStore.hpp"
#include "platform/windows/WinFileSystem.hpp"
#include "platform/windows/WinTextRules.hpp"

namespace {

// The console shows UTF-8 while the program runs; the console's own code page comes back at
// the end, so the shell that started the program is left as it was.
class Utf8Console {
public:
    Utf8Console() : previous_(::GetConsoleOutputCP()) {
        if (previous_ != 0) ::SetConsoleOutputCP(CP_UTF8);
    }
    ~Utf8Console() {
        if (previous_ != 0) ::SetConsoleOutputCP(previous_);
    }
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    UINT previous_;
};

}  // namespace

int wmain() {
    using namespace quarnel;
    // the text goes out byte for byte: no LF becomes CR LF on the way
    ::_setmode(::_fileno(stdout), _O_BINARY);
    const Utf8Console console;

    const std::vector<std::string> arguments = CommandLineArguments();
    WinFileSystem files;
    const WinTextRules textRules;
    RegistrySettingsStore settings;
    const int status =
        RunListCommand(arguments, {files, textRules, settings,
                                   [](const std::string& path) { return FullNameFrom(path); },
                                   std::cout, std::cerr});
    std::cout.flush();
    std::cerr.flush();
    return status;
}
