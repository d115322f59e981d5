#include "Messages.hpp"

#include "core/Messages.hpp"

namespace quarnel {

std::string OptionsNotSavedMessage(const SettingsPlace& place, bool optionsStored) {
    std::string message =
        "Die Optionen konnten nicht in '" + ShownName(place.name) + "' gespeichert werden.";
    if (!place.readable) {
        message += " Was dort steht, kann nicht gelesen werden und bleibt unverändert.";
    }
    message += "\r\rDie gewählte Einstellung gilt trotzdem, bis Quarnel! beendet wird. ";
    if (!place.readable) {
        message += "Beim nächsten Start gelten daher die voreingestellten Optionen.";
    } else if (optionsStored) {
        message += "Beim nächsten Start gelten wieder die zuletzt gespeicherten Optionen.";
    } else {
        message +=
            "Beim nächsten Start gelten die voreingestellten Optionen, da dort noch keine "
            "gespeichert sind.";
    }
    return message;
}

std::string InfoNotes(std::string_view title) {
    std::string notes(title);
    notes.append(" ist freie Software unter der MIT-Lizenz: Sie dürfen ")
        .append(title)
        .append(
            " kostenlos benutzen, verändern und weitergeben, solange der Lizenztext dabei "
            "bleibt. Die Benutzung geschieht auf eigene Gefahr; für Schäden, die daraus "
            "entstehen, wird keine Haftung übernommen.");
    return notes;
}

}  // namespace quarnel
