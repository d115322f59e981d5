#include "CollationLocale.hpp"

#include <cstdlib>
#include <string_view>

namespace quarnel {

std::string CollationLocaleName(const char* lcAll, const char* lcCollate, const char* lang) {
    std::string_view chosen;
    for (const char* candidate : {lcAll, lcCollate, lang}) {
        if (candidate != nullptr && *candidate != '\0') {
            chosen = candidate;
            break;
        }
    }
    // "de_DE.UTF-8@euro" names the locale "de_DE"
    chosen = chosen.substr(0, chosen.find_first_of(".@"));
    if (chosen.empty() || chosen == "C" || chosen == "POSIX") return cFallbackCollationLocale;
    return std::string(chosen);
}

std::string CollationLocaleFromEnvironment() {
    return CollationLocaleName(std::getenv("LC_ALL"), std::getenv("LC_COLLATE"),
                               std::getenv("LANG"));
}

}  // namespace quarnel
