// What quarnel-list says on standard error, in German, and its usage text.
#pragma once

#include <string>
#include <string_view>

namespace quarnel {

extern const std::string_view cListUsage;

inline constexpr std::string_view cMsgOptionsValueMissing = "Zu --options fehlt der Wert.";
inline constexpr std::string_view cMsgNoPath = "Kein PFAD angegeben.";
inline constexpr std::string_view cMsgOutputIncomplete =
    "Die Liste konnte nicht vollständig ausgegeben werden.";

std::string UnknownArgumentMessage(std::string_view argument);

}  // namespace quarnel
