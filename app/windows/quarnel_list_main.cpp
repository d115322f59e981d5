// quarnel-list.exe: the drop pipeline over the paths given as arguments, text to standard output.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "cli/ListCommand.hpp"
#include "platform/windows/CommandLineName.hpp"
#include "platform/windows/ConsoleStream.hpp"
#include "platform/windows/RegistrySettingsStore.hpp"
#include "platform/windows/WinFileSystem.hpp"
#include "platform/windows/WinTextRules.hpp"

int wmain() {
    using namespace quarnel;
    // to a file or a pipe the text goes out byte for byte: no LF becomes CR LF on the way
    ::_setmode(::_fileno(stdout), _O_BINARY);
    // to a console it goes as characters
    const auto consoleOut = ConsoleStreamBuf::ForStandardHandle(STD_OUTPUT_HANDLE);
    const auto consoleErr = ConsoleStreamBuf::ForStandardHandle(STD_ERROR_HANDLE);
    const StreamRedirect out(std::cout, consoleOut.get());
    const StreamRedirect err(std::cerr, consoleErr.get());

    const std::vector<std::string> arguments = CommandLineArguments();
    WinFileSystem files;
    const WinTextRules textRules;
    RegistrySettingsStore settings;
    const int status =
        RunListCommand(arguments, {files, textRules, settings,
                                   [](const std::string& path) { return FullNameFrom(path); },
                                   std::cout, std::cerr, "\r\n"});
    std::cout.flush();
    std::cerr.flush();
    return status;
}
