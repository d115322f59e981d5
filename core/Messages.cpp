#include "Messages.hpp"

#include <new>
#include <system_error>

#include "NameCheck.hpp"

namespace quarnel {
namespace {

constexpr std::size_t cLongestShownName = 255;
constexpr std::size_t cShownEachEnd = 120;

// Where character number `character` (counted from 0) starts; the end when there are fewer.
std::size_t ByteOfCharacter(std::string_view text, std::size_t character) {
    std::size_t at = 0;
    for (std::size_t seen = 0; seen < character && at < text.size(); ++seen) {
        at += CharacterLength(text.substr(at));
    }
    return at;
}

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) at += CharacterLength(text.substr(at));
    return count;
}

}  // namespace

std::string ShownName(std::string_view name) {
    std::string shown = PrintableName(name);
    const std::size_t characters = CharacterCount(shown);
    if (characters <= cLongestShownName) return shown;
    const std::size_t headEnd = ByteOfCharacter(shown, cShownEachEnd);
    const std::size_t tailStart = ByteOfCharacter(shown, characters - cShownEachEnd);
    return shown.substr(0, headEnd) + " … " + shown.substr(tailStart);
}

std::string InvalidNameMessage(std::string_view name) {
    return "Der Verzeichnisname '" + ShownName(name) + "'\r" +
           "enthält ungültige Zeichen und wird daher nicht berücksichtigt.";
}

std::string UnreachableNameMessage(std::string_view name) {
    return "Der Name '" + ShownName(name) + "'\r" +
           "ist nicht (mehr) vorhanden oder nicht erreichbar und wird daher nicht berücksichtigt.";
}

std::string UnreadableFoldersMessage(const std::vector<std::string>& folders) {
    constexpr std::size_t cNamesShown = 5;
    if (folders.size() == 1) {
        return "Das Verzeichnis '" + ShownName(folders.front()) + "'\r" +
               "konnte nicht gelesen werden. Sein Inhalt fehlt in der Liste.";
    }
    std::string message = std::to_string(folders.size()) +
                          " Verzeichnisse konnten nicht gelesen werden. "
                          "Ihr Inhalt fehlt in der Liste:";
    for (std::size_t i = 0; i < folders.size() && i < cNamesShown; ++i) {
        message += "\r'" + ShownName(folders[i]) + "'";
    }
    if (folders.size() > cNamesShown) {
        message += "\r... und " + std::to_string(folders.size() - cNamesShown) + " weitere.";
    }
    return message;
}

std::string DropFailedMessage(const std::exception_ptr& failure) {
    std::string reason;
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        reason = "nicht genug Arbeitsspeicher";
    } catch (const std::system_error& error) {
        reason = "das System meldet Fehler " + std::to_string(error.code().value());
    } catch (...) {
        reason = "ein unerwarteter Fehler ist aufgetreten";
    }
    return "Die Liste konnte nicht erstellt werden: " + reason +
           ". Die Zwischenablage bleibt, wie sie war.";
}

}  // namespace quarnel
