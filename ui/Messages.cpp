#include "Messages.hpp"

namespace quarnel {

std::string InfoNotes(std::string_view title) {
    std::string notes(title);
    notes.append(" ist Freeware: Sie dürfen ")
        .append(title)
        .append(
            " kostenlos benutzen und unverändert weitergeben. Die Benutzung geschieht auf "
            "eigene Gefahr; für Schäden, die daraus entstehen, wird keine Haftung "
            "übernommen.");
    return notes;
}

}  // namespace quarnel
