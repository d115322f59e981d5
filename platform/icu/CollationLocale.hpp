// Which locale's alphabet the sorted list follows: the user's, German where the environment
// names none (C or POSIX), since a C locale would sort by bytes and put umlauts after "z".
#pragma once

#include <string>

namespace quarnel {

// German: where the environment names no locale, or one ICU does not know.
inline constexpr const char* cFallbackCollationLocale = "de";

// The first of LC_ALL, LC_COLLATE and LANG that is set and not empty decides, as in setlocale.
std::string CollationLocaleName(const char* lcAll, const char* lcCollate, const char* lang);

std::string CollationLocaleFromEnvironment();

}  // namespace quarnel
