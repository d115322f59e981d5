// The texts of the messages the windows show, in German: the help, the info and the options
// dialog's message. Line breaks inside a message are a lone CR.
#pragma once

#include <string>
#include <string_view>

#include "platform/SettingsStore.hpp"

namespace quarnel {

// For a save of the options that failed: where they are kept (shortened as every name in a
// message), and what the next start will find there: the options saved last, none yet, or
// nothing it can read. Both of the latter mean the default options.
std::string OptionsNotSavedMessage(const SettingsPlace& place, bool optionsStored);

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
