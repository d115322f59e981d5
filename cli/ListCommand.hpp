// quarnel-list: one drop of the names given on the command line, with the text written to
// standard output instead of the clipboard. The same drop handler does the work, so the bytes
// are those the desktop program puts on the clipboard.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.hpp"
#include "platform/NetworkLocations.hpp"
#include "platform/SettingsStore.hpp"
#include "platform/TextRules.hpp"

namespace quarnel {

inline constexpr int cExitAllListed = 0;
// A name was passed over, or written with "?" for what is not text.
inline constexpr int cExitNameSkipped = 1;
inline constexpr int cExitUsage = 2;
// The list could not be made, or not written whole.
inline constexpr int cExitNoWholeList = 3;

struct ListArguments {
    std::optional<std::string> options;  // the fourteen option characters, when given
    std::vector<std::string> paths;
    bool help = false;
    std::string error;  // a German sentence when the arguments cannot be used
};

ListArguments ParseListArguments(std::span<const std::string> arguments);

struct ListCommandServices {
    FileSystem& files;
    const TextRules& textRules;
    SettingsStore& settings;
    // Turns a path given on the command line into the full name a drop would deliver.
    std::function<std::string(const std::string&)> fullName;
    std::ostream& out;
    std::ostream& err;
    // Ends the usage's lines on out, which passes the list's CR LF unchanged.
    std::string_view outLineEnd = "\n";
    // Where network locations are read, where the platform has them.
    NetworkLocations* networkLocations = nullptr;
};

// Runs the command and returns its exit status.
int RunListCommand(std::span<const std::string> arguments, const ListCommandServices& services);

}  // namespace quarnel
