// The messages the drop handling shows, in German. Line breaks inside a message are a lone CR.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

inline constexpr std::string_view cMsgNoFileList =
    "Bitte nur Datei- und Verzeichnisnamen in die Liste ziehen.";

inline constexpr std::string_view cMsgClipboardNotSet =
    "Die Zwischenablage wird gerade von einem anderen Programm benutzt oder hat die Liste nicht "
    "angenommen.\rDie Liste konnte nicht in die Zwischenablage geschrieben werden.";

// A name as a message shows it: printable, and one longer than 255 characters as its first 120,
// " … " and its last 120, so every message box fits a small screen.
std::string ShownName(std::string_view name);

// For a dropped name holding "?" or characters that cannot stand in a line of text.
std::string InvalidNameMessage(std::string_view name);

// For a dropped name that no longer exists or cannot be reached.
std::string UnreachableNameMessage(std::string_view name);

// For a network location that this machine offers no folder for (not mounted, no FUSE daemon
// of the desktop's, a kind of location that has none), named as the list would name it.
std::string UnmountedLocationMessage(std::string_view location);

// For the folders a walk could not list: how many, and the first few by name.
std::string UnreadableFoldersMessage(const std::vector<std::string>& folders);

// For a drop that failed as a whole (out of memory, a listing that threw): the clipboard keeps
// what it had.
std::string DropFailedMessage(const std::exception_ptr& failure);

// What a drop says about the list it made.
inline constexpr std::string_view cMsgListEmpty =
    "Die Liste ist leer; die Zwischenablage bleibt, wie sie war.";

// A name with each byte that is not printable text written as \xHH, so names that the list
// writes alike can be told apart; shortened as ShownName does.
std::string EscapedName(std::string_view name);

// For the found names the list writes with "?" for what is not text: how many, and the first
// few as they really are.
std::string ReplacedNamesMessage(std::size_t count, const std::vector<std::string>& firstFew);

}  // namespace quarnel
