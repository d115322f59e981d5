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

std::string Shortened(std::string shown) {
    const std::size_t characters = CharacterCount(shown);
    if (characters <= cLongestShownName) return shown;
    const std::size_t headEnd = ByteOfCharacter(shown, cShownEachEnd);
    const std::size_t tailStart = ByteOfCharacter(shown, characters - cShownEachEnd);
    return shown.substr(0, headEnd) + " … " + shown.substr(tailStart);
}

// The bytes of the printable character at the front of text, 0 when none starts there.
std::size_t PrintableLength(std::string_view text) {
    constexpr std::size_t cLongestCharacter = 4;
    for (std::size_t length = 1; length <= cLongestCharacter && length <= text.size(); ++length) {
        if (IsPrintableUtf8(text.substr(0, length))) return length;
    }
    return 0;
}

}  // namespace

std::string ShownName(std::string_view name) { return Shortened(PrintableName(name)); }

std::string InvalidNameMessage(std::string_view name) {
    return "Der Verzeichnisname '" + ShownName(name) + "'\r" +
           "enthält ungültige Zeichen und wird daher nicht berücksichtigt.";
}

std::string UnreachableNameMessage(std::string_view name) {
    return "Der Name '" + ShownName(name) + "'\r" +
           "ist nicht (mehr) vorhanden oder nicht erreichbar und wird daher nicht berücksichtigt.";
}

std::string UnmountedLocationMessage(std::string_view location) {
    return "Der Ort '" + ShownName(location) + "'\r" +
           "ist ein Netzwerkort, den Quarnel! nicht lesen kann, weil er nicht als Ordner "
           "eingebunden ist, und wird daher nicht berücksichtigt.\r"
           "Ist er im Dateimanager geöffnet, fehlt dem System dafür gvfs-fuse (GNOME und "
           "verwandte Arbeitsumgebungen) oder kio-fuse (KDE).";
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

std::string EscapedName(std::string_view name) {
    constexpr std::string_view cHexDigits = "0123456789ABCDEF";
    std::string escaped;
    while (!name.empty()) {
        const std::size_t length = PrintableLength(name);
        if (length != 0) {
            escaped.append(name.substr(0, length));
            name.remove_prefix(length);
            continue;
        }
        const auto byte = static_cast<unsigned char>(name.front());
        escaped += "\\x";
        escaped += cHexDigits[byte >> 4];
        escaped += cHexDigits[byte & 0xF];
        name.remove_prefix(1);
    }
    return Shortened(std::move(escaped));
}

std::string ReplacedNamesMessage(std::size_t count, const std::vector<std::string>& firstFew) {
    constexpr std::string_view cWhat =
        " Zeichen, die in keiner Textzeile stehen können (hier als \\x.. gezeigt). ";
    if (count == 1 && !firstFew.empty()) {
        return "Der Name '" + EscapedName(firstFew.front()) + "'\renthält" + std::string(cWhat) +
               "Die Liste zeigt dafür \"?\", bei einem Verzeichnis auch in den Pfaden "
               "darunter; so geschrieben gibt es den Namen nicht.";
    }
    std::string message = std::to_string(count) + " Namen enthalten" + std::string(cWhat) +
                          "Die Liste zeigt dafür \"?\", bei Verzeichnissen auch in den "
                          "Pfaden darunter; so geschrieben gibt es die Namen nicht:";
    for (const std::string& name : firstFew) message += "\r'" + EscapedName(name) + "'";
    if (count > firstFew.size()) {
        message += "\r... und " + std::to_string(count - firstFew.size()) + " weitere.";
    }
    return message;
}

}  // namespace quarnel
