#include "Messages.hpp"

namespace quarnel {

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
