#include "AAA.hpp"

#include <string>

namespace quarnel {
namespace {

constexpr std::string_view cAttribution = "Geschrieben 1999–2025 von Kelvaro's Tools.";
constexpr std::string_view cMailLine =
    "Verbesserungsvorschläge und Fehlerberichte sind jederzeit willkommen: quarnel@example.org";
constexpr std::string_view cWebLine =
    "Neuigkeiten und weitere Werkzeuge gibt es unter https://www.example.org/kelvaros-tools/";
constexpr std::string_view cFarewell = "Bis bald ... ";

std::string Notes(std::string_view title) {
    std::string notes(title);
    notes.append(" ist Freeware: Sie dürfen ")
        .append(title)
        .append(
            " kostenlos benutzen und unverändert weitergeben. Die Benutzung geschieht auf "
            "eigene Gefahr; für Schäden, die daraus entstehen, wird keine Haftung "
            "übernommen.");
    return notes;
}

}  // namespace

void ShowInfoBox(MsgBox& msgBox, std::string_view title, std::string_view line) {
    std::string prompt(line);
    for (const std::string& piece :
         {std::string(cAttribution), Notes(title), std::string(cMailLine), std::string(cWebLine),
          std::string(cFarewell)}) {
        prompt.append("\r\r").append(piece);
    }
    msgBox.show(prompt, cMsgInformation, title);
}

}  // namespace quarnel
