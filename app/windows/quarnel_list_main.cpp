// quarnel-list.exe: the drop pipeline over the paths given as arguments, text to standard output.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "platform/windows/CommandLineName.hpp"
#include "platform/windows/RegistrySettingsStore.hpp"
#include "platform/windows/WinFileSystem.hpp"
#include "platform/windows/WinTextRules.hpp"
#include "ui/ListCommand.hpp"

int wmain() {
    using namespace quarnel;
    // the text goes out byte for byte: no LF becomes CR LF on the way
    ::_setmode(::_fileno(stdout), _O_BINARY);
    // messages are UTF-8, and a console shows them so
    ::SetConsoleOutputCP(CP_UTF8);

    const std::vector<std::string> arguments = CommandLineArguments();
    WinFileSystem files;
    const WinTextRules textRules;
    RegistrySettingsStore settings;
    return RunListCommand(arguments, {files, textRules, settings,
                                      [](const std::string& path) { return FullNameFrom(path); },
                                      std::cout, std::cerr});
}
