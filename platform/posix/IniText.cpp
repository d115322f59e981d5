#include "IniText.hpp"

namespace quarnel {
namespace {

// Editors on Windows like to start a UTF-8 file with a byte order mark.
constexpr std::string_view cByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string_view LineEndOf(std::string_view line) {
    if (line.ends_with("\r\n")) return line.substr(line.size() - 2);
    if (line.ends_with('\n')) return line.substr(line.size() - 1);
    return {};
}

// The line's text without its line end, and without a byte order mark on the first line.
std::string_view TextOf(std::string_view line, std::size_t index) {
    line.remove_suffix(LineEndOf(line).size());
    if (index == 0 && line.starts_with(cByteOrderMark)) line.remove_prefix(cByteOrderMark.size());
    return line;
}

std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return std::nullopt;
    return Trimmed(trimmed.substr(1, trimmed.size() - 2));
}

// The value of the line when it sets key, else nullopt.
std::optional<std::string_view> ValueFor(std::string_view line, std::string_view key) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || Trimmed(line.substr(0, equals)) != key) {
        return std::nullopt;
    }
    return Trimmed(line.substr(equals + 1));
}

// Goes through the lines until visit returns true; keeps track of the section they stand in.
template <typename Visit>
void ForEachLine(LineSource& lines, std::string_view section, Visit visit) {
    bool inSection = false;
    std::string_view line;
    for (std::size_t index = 0; lines.NextLine(line); ++index) {
        const std::string_view text = TextOf(line, index);
        const auto name = SectionName(text);
        if (name) inSection = *name == section;
        if (visit(index, line, text, name.has_value(), inSection)) return;
    }
}

}  // namespace

bool TextLines::NextLine(std::string_view& line) {
    if (rest_.empty()) return false;
    const auto newline = rest_.find('\n');
    const std::size_t length = newline == std::string_view::npos ? rest_.size() : newline + 1;
    line = rest_.substr(0, length);
    rest_.remove_prefix(length);
    return true;
}

std::optional<std::string> IniValue(LineSource& lines, std::string_view section,
                                    std::string_view key) {
    std::optional<std::string> value;
    ForEachLine(lines, section,
                [&](std::size_t, std::string_view, std::string_view text, bool isSectionLine,
                    bool inSection) {
                    if (isSectionLine || !inSection) return false;
                    if (const auto found = ValueFor(text, key)) value = std::string(*found);
                    return value.has_value();
                });
    return value;
}

IniKeyPlace FindIniKey(LineSource& lines, std::string_view section, std::string_view key) {
    IniKeyPlace place;
    bool lineEndSeen = false;
    ForEachLine(lines, section,
                [&](std::size_t index, std::string_view line, std::string_view text,
                    bool isSectionLine, bool inSection) {
                    if (!lineEndSeen && !LineEndOf(line).empty()) {
                        place.lineEnd = LineEndOf(line);
                        lineEndSeen = true;
                    }
                    if (isSectionLine && inSection && !place.sectionLine) place.sectionLine = index;
                    if (!isSectionLine && inSection && !place.keyLine && ValueFor(text, key)) {
                        place.keyLine = index;
                    }
                    return place.keyLine.has_value() && lineEndSeen;
                });
    return place;
}

void CopyWithIniValue(LineSource& lines, const IniKeyPlace& place, std::string_view section,
                      std::string_view key, std::string_view value,
                      const std::function<void(std::string_view)>& out) {
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    bool anyText = false;
    bool lastLineEnded = true;
    std::string_view line;
    for (std::size_t index = 0; lines.NextLine(line); ++index) {
        anyText = true;
        lastLineEnded = !LineEndOf(line).empty();
        if (index == place.keyLine) {
            out(keyLine);
            out(LineEndOf(line));
            continue;
        }
        out(line);
        if (!place.keyLine && index == place.sectionLine) {
            if (!lastLineEnded) out(place.lineEnd);
            out(keyLine);
            out(place.lineEnd);
            lastLineEnded = true;
        }
    }
    if (place.keyLine || place.sectionLine) return;
    if (anyText) {
        if (!lastLineEnded) out(place.lineEnd);
        out(place.lineEnd);
    }
    out("[" + std::string(section) + "]" + place.lineEnd + keyLine + place.lineEnd);
}

std::optional<std::string> IniValue(std::string_view fileText, std::string_view section,
                                    std::string_view key) {
    TextLines lines(fileText);
    return IniValue(lines, section, key);
}

std::string WithIniValue(std::string_view fileText, std::string_view section, std::string_view key,
                         std::string_view value) {
    TextLines firstPass(fileText);
    const IniKeyPlace place = FindIniKey(firstPass, section, key);
    TextLines secondPass(fileText);
    std::string text;
    CopyWithIniValue(secondPass, place, section, key, value,
                     [&](std::string_view piece) { text.append(piece); });
    return text;
}

}  // namespace quarnel
