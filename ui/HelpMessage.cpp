#include "HelpMessage.hpp"

#include <string>

#include "core/ProgramTitle.hpp"

namespace quarnel {
namespace {

constexpr std::string_view cProblem =
    "Wer sich öfter mit der Dokumentation von Software oder Datenarchiven befassen muß, kennt "
    "sicher das Problem, daß man nur mit allerlei Tricks an die Namen der zu beschreibenden "
    "Dateien herankommt.";

constexpr std::string_view cSolution =
    "Hier setzt Quarnel! an: Benötigt man die Namen bestimmter Dateien oder Verzeichnisse, so "
    "zieht man sie einfach z.B. aus deren Ordner oder der Arbeitsoberfläche das kleine Fenster "
    "von Quarnel! - und schon steht die Dateiliste in der Zwischenablage. Von dort aus kann sie "
    "dann über die üblichen Einfüge-Kommandos beispielsweise in eine Textverarbeitung eingefügt "
    "werden.";

}  // namespace

void ShowHelp(MsgBox& msgBox, std::string_view versionLine) {
    std::string prompt(versionLine);
    prompt.append("\r\r").append(cProblem).append("\r\r").append(cSolution);
    msgBox.show(prompt, cMsgQuestion, ProgramTitle);
}

}  // namespace quarnel
