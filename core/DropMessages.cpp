#include "DropMessages.hpp"

#include "NameCheck.hpp"

namespace quarnel {

std::string InvalidNameMessage(std::string_view name) {
    return "Der Verzeichnisname '" + PrintableName(name) + "'\r" +
           "enthält ungültige Zeichen und wird daher nicht berücksichtigt.";
}

std::string UnreachableNameMessage(std::string_view name) {
    return "Der Name '" + PrintableName(name) + "'\r" +
           "ist nicht (mehr) vorhanden oder nicht erreichbar und wird daher nicht berücksichtigt.";
}

}  // namespace quarnel
