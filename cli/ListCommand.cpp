#include "ListCommand.hpp"

#include "ListMessages.hpp"
#include "StreamOutput.hpp"
#include "core/DropHandler.hpp"
#include "core/Messages.hpp"
#include "core/OptionStorage.hpp"
#include "core/ProgramTitle.hpp"

namespace quarnel {

namespace {

constexpr std::string_view cOptionsFlag = "--options";

// The frame and the beep: a terminal has neither.
struct NoWindowFeedback final : DropTargetBorder, Beep {
    void SetBorderStyle(int) override {}
    void Sound() override {}
};

}  // namespace

ListArguments ParseListArguments(std::span<const std::string> arguments) {
    ListArguments parsed;
    bool onlyPaths = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyPaths || argument.size() < 2 || argument.front() != '-') {
            parsed.paths.push_back(argument);
        } else if (argument == "--") {
            onlyPaths = true;
        } else if (argument == "--help" || argument == "-h") {
            parsed.help = true;
        } else if (argument == cOptionsFlag) {
            if (i + 1 == arguments.size()) {
                parsed.error = cMsgOptionsValueMissing;
                return parsed;
            }
            parsed.options = arguments[++i];
        } else if (argument.starts_with(std::string(cOptionsFlag) + "=")) {
            parsed.options = argument.substr(cOptionsFlag.size() + 1);
        } else {
            parsed.error = UnknownArgumentMessage(argument);
            return parsed;
        }
    }
    if (parsed.paths.empty() && !parsed.help) parsed.error = cMsgNoPath;
    return parsed;
}

int RunListCommand(std::span<const std::string> arguments, const ListCommandServices& services) {
    const ListArguments parsed = ParseListArguments(arguments);
    if (parsed.help) {
        services.out << WithLineEnds(cListUsage, services.outLineEnd) << std::flush;
        return services.out.good() ? cExitAllListed : cExitNoWholeList;
    }
    if (!parsed.error.empty()) {
        services.err << ProgramTitle << ": " << parsed.error << "\n\n" << cListUsage << std::flush;
        return cExitUsage;
    }

    StreamMsgBox msgBox(services.err);
    StreamClipboard output(services.out);
    bool listed = false;
    // The text goes out in one piece at the end: a drop that fails before writes nothing.
    try {
        OptionFlags = parsed.options ? OptionFlagsFromString(*parsed.options)
                                     : StoredOptionFlags(services.settings);
        NoWindowFeedback noWindow;
        DropHandler handler({services.files, output, msgBox, noWindow, services.textRules, noWindow,
                             services.networkLocations});
        DropData drop{true, {}};
        drop.names.reserve(parsed.paths.size());
        for (const std::string& path : parsed.paths) drop.names.push_back(services.fullName(path));
        DropProgress neverStopped;
        listed = handler.HandleDrop(drop, neverStopped);
    } catch (...) {
        msgBox.Show(DropFailedMessage(std::current_exception()), cMsgInformation, ProgramTitle);
        return cExitNoWholeList;
    }

    // A list cut short by a full disk or a closed output is no list: a script must not take it
    // for one with a name passed over.
    if (!output.Written()) {
        msgBox.Show(cMsgOutputIncomplete, cMsgInformation, ProgramTitle);
        return cExitNoWholeList;
    }
    // An empty list is said, but it passed no name over.
    const int namesSkipped = msgBox.ShownCount() - (listed ? 0 : 1);
    return namesSkipped == 0 ? cExitAllListed : cExitNameSkipped;
}

}  // namespace quarnel
