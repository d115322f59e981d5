#include "ListMessages.hpp"

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
    "Unter Linux darf ein PFAD auch ein Netzwerkort des Dateimanagers als URI sein\n"
    "(etwa sftp://server/Ordner), wenn er als Ordner eingebunden ist.\n"
    "\n"
    "Rückgabewert: 0, wenn alle Namen berücksichtigt wurden; 1, wenn ein Name oder ein\n"
    "Verzeichnis übergangen oder ein Name mit \"?\" geschrieben wurde (die Liste wird\n"
    "trotzdem ausgegeben); 2 bei einem Aufruffehler; 3, wenn die Liste nicht erstellt\n"
    "(dann wird nichts ausgegeben) oder nicht vollständig ausgegeben werden konnte.\n";

std::string UnknownArgumentMessage(std::string_view argument) {
    return "Unbekannte Option '" + std::string(argument) + "'.";
}

}  // namespace quarnel
