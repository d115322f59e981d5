// The texts of the messages the windows show, in German: the help, the info and the options
// dialog's message. Line breaks inside a message are a lone CR.
#pragma once

#include <string>
#include <string_view>

namespace quarnel {

inline constexpr std::string_view cMsgOptionsNotSaved =
    "Die Optionen konnten nicht gespeichert werden.\r\r"
    "Die gewählte Einstellung gilt trotzdem, bis Quarnel! beendet wird. Beim nächsten Start "
    "gelten wieder die zuletzt gespeicherten Optionen.";

// The help's two paragraphs below the version line.
inline constexpr std::string_view cHelpProblem =
    "Wer sich öfter mit der Dokumentation von Software oder Datenarchiven befassen muß, kennt "
    "sicher das Problem, daß man nur mit allerlei Tricks an die Namen der zu beschreibenden "
    "Dateien herankommt.";
inline constexpr std::string_view cHelpSolution =
    "Hier setzt Quarnel! an: Benötigt man die Namen bestimmter Dateien oder Verzeichnisse, so "
    "zieht man sie einfach z.B. aus deren Ordner oder der Arbeitsoberfläche das kleine Fenster "
    "von Quarnel! - und schon steht die Dateiliste in der Zwischenablage. Von dort aus kann sie "
    "dann über die üblichen Einfüge-Kommandos beispielsweise in eine Textverarbeitung eingefügt "
    "werden.";

// The info's paragraphs below the version line.
inline constexpr std::string_view cInfoAttribution = "Geschrieben 1999–2026 von Kelvaro's Tools.";
std::string InfoNotes(std::string_view title);  // names the title twice
inline constexpr std::string_view cInfoMailLine =
    "Verbesserungsvorschläge und Fehlerberichte sind jederzeit willkommen: quarnel@example.org";
inline constexpr std::string_view cInfoWebLine =
    "Neuigkeiten und weitere Werkzeuge gibt es unter https://www.example.org/kelvaros-tools/";
inline constexpr std::string_view cInfoFarewell = "Bis bald ... ";

}  // namespace quarnel
