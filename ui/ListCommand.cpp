#include "ListCommand.hpp"

#include "StreamOutput.hpp"
#include "core/AAB.hpp"
#include "core/DropHandler.hpp"
#include "core/ProgramTitle.hpp"

namespace quarnel {

const std::string_view cListUsage =
    "Aufruf: quarnel-list [--options WERT] [--] PFAD...\n"
    "Schreibt die Namen der Dateien und Verzeichnisse wie Quarnel! beim Ablegen auf die\n"
    "Standardausgabe, einen je Zeile mit CR LF.\n"
    "\n"
    "  --options WERT  die vierzehn Optionszeichen (etwa 01010101000110) statt der\n"
    "                  gespeicherten Optionen\n"
    "  --help          zeigt diesen Text\n"
    "  --              alles Weitere sind Pfade, auch wenn sie mit \"-\" beginnen\n"
    "\n"
    "Rückgabewert: 0, wenn alle Namen berücksichtigt wurden; 1, wenn ein Name oder ein\n"
    "Verzeichnis übergangen wurde (die Liste wird trotzdem ausgegeben); 2 bei einem\n"
    "Aufruffehler.\n";

namespace {

constexpr std::string_view cOptionsFlag = "--options";

// The parts of a drop that have nothing to show on the command line.
struct Unseen final : DropTargetBorder, Beep, Yield {
    void SetBorderStyle(int) override {}
    void beep() override {}
    void yieldOnce() override {}
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
                parsed.error = "Zu --options fehlt der Wert.";
                return parsed;
            }
            parsed.options = arguments[++i];
        } else if (argument.starts_with(std::string(cOptionsFlag) + "=")) {
            parsed.options = argument.substr(cOptionsFlag.size() + 1);
        } else {
            parsed.error = "Unbekannte Option '" + argument + "'.";
            return parsed;
        }
    }
    if (parsed.paths.empty() && !parsed.help) parsed.error = "Kein PFAD angegeben.";
    return parsed;
}

int RunListCommand(std::span<const std::string> arguments, const ListCommandServices& services) {
    const ListArguments parsed = ParseListArguments(arguments);
    if (parsed.help) {
        services.out << cListUsage << std::flush;
        return cExitAllListed;
    }
    if (!parsed.error.empty()) {
        services.err << ProgramTitle << ": " << parsed.error << "\n\n" << cListUsage << std::flush;
        return cExitUsage;
    }

    OptionFlags = parsed.options ? OptionFlagsFromString(*parsed.options)
                                 : StoredOptionFlags(services.settings);
    StreamMsgBox msgBox(services.err);
    StreamClipboard output(services.out);
    Unseen unseen;
    DropHandler handler(
        {services.files, output, msgBox, unseen, services.textRules, unseen, unseen});

    DropData drop{true, {}};
    drop.names.reserve(parsed.paths.size());
    for (const std::string& path : parsed.paths) drop.names.push_back(services.fullName(path));
    handler.HandleDrop(drop);

    if (!output.written()) {
        msgBox.show("Die Liste konnte nicht vollständig ausgegeben werden.", cMsgInformation,
                    ProgramTitle);
    }
    return msgBox.shownCount() == 0 ? cExitAllListed : cExitNameSkipped;
}

}  // namespace quarnel
