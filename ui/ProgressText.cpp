#include "ProgressText.hpp"

#include "core/ProgramTitle.hpp"

namespace quarnel {

std::string ProgressTitle() { return "Liste wird erstellt – " + std::string(ProgramTitle); }

std::string NamesFoundText(std::uint64_t count) {
    const std::string digits = std::to_string(count);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += '.';
        grouped += digits[i];
    }
    return grouped + (count == 1 ? " Name gefunden" : " Namen gefunden");
}

}  // namespace quarnel
