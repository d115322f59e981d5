#include "Messages.hpp"

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

std::string UnreadableFoldersMessage(const std::vector<std::string>& folders) {
    constexpr std::size_t cNamesShown = 5;
    if (folders.size() == 1) {
        return "Das Verzeichnis '" + folders.front() + "'\r" +
               "konnte nicht gelesen werden. Sein Inhalt fehlt in der Liste.";
    }
    std::string message = std::to_string(folders.size()) +
                          " Verzeichnisse konnten nicht gelesen werden. "
                          "Ihr Inhalt fehlt in der Liste:";
    for (std::size_t i = 0; i < folders.size() && i < cNamesShown; ++i) {
        message += "\r'" + folders[i] + "'";
    }
    if (folders.size() > cNamesShown) {
        message += "\r... und " + std::to_string(folders.size() - cNamesShown) + " weitere.";
    }
    return message;
}

}  // namespace quarnel
