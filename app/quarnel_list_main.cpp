// quarnel-list: the drop pipeline over the paths given as arguments, text to standard output.
#include <iostream>
#include <string>
#include <vector>

#include "cli/ListCommand.hpp"
#include "platform/gio/GioNetworkLocations.hpp"
#include "platform/icu/CollationLocale.hpp"
#include "platform/icu/IcuTextRules.hpp"
#include "platform/posix/CommandLineName.hpp"
#include "platform/posix/IniSettingsStore.hpp"
#include "platform/posix/PosixFileSystem.hpp"

int main(int argc, char* argv[]) {
    using namespace quarnel;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string currentFolder = CurrentFolder();

    PosixFileSystem files;
    GioNetworkLocations networkLocations;
    const IcuTextRules textRules(CollationLocaleFromEnvironment());
    IniSettingsStore settings(IniSettingsStore::DefaultConfigHome());
    return RunListCommand(arguments, {files, textRules, settings,
                                      [&](const std::string& path) {
                                          return DroppedNameOfArgument(path, currentFolder);
                                      },
                                      std::cout, std::cerr, "\n", &networkLocations});
}
