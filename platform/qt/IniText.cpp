#include "IniText.hpp"

#include <vector>

namespace quarnel {
namespace {

// Editors on Windows like to start a UTF-8 file with a byte order mark.
std::size_t ByteOrderMarkLength(std::string_view fileText) {
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    return fileText.starts_with(byteOrderMark) ? byteOrderMark.size() : 0;
}

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

struct Line {
    std::string_view text;  // without its line end (LF or CR LF)
    std::size_t start;      // offset in the file text
    std::size_t end;        // offset after its line end
};

std::vector<Line> LinesOf(std::string_view fileText) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < fileText.size()) {
        const auto newline = fileText.find('\n', start);
        const std::size_t end = newline == std::string_view::npos ? fileText.size() : newline + 1;
        std::size_t textEnd = newline == std::string_view::npos ? fileText.size() : newline;
        if (textEnd > start && fileText[textEnd - 1] == '\r') --textEnd;
        lines.push_back({fileText.substr(start, textEnd - start), start, end});
        start = end;
    }
    return lines;
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

struct KeyPlace {
    std::optional<std::size_t> sectionLine;
    std::optional<std::size_t> keyLine;
};

KeyPlace FindKey(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    KeyPlace place;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i].text)) {
            inSection = *name == section;
            if (inSection && !place.sectionLine) place.sectionLine = i;
        } else if (inSection && ValueFor(lines[i].text, key)) {
            place.keyLine = i;
            return place;
        }
    }
    return place;
}

}  // namespace

std::optional<std::string> IniValue(std::string_view fileText, std::string_view section,
                                    std::string_view key) {
    fileText.remove_prefix(ByteOrderMarkLength(fileText));
    const auto lines = LinesOf(fileText);
    const KeyPlace place = FindKey(lines, section, key);
    if (!place.keyLine) return std::nullopt;
    return std::string(*ValueFor(lines[*place.keyLine].text, key));
}

std::string WithIniValue(std::string_view fileText, std::string_view section, std::string_view key,
                         std::string_view value) {
    const std::size_t bomLength = ByteOrderMarkLength(fileText);
    if (bomLength > 0) {
        return std::string(fileText.substr(0, bomLength)) +
               WithIniValue(fileText.substr(bomLength), section, key, value);
    }
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    const auto lines = LinesOf(fileText);
    const KeyPlace place = FindKey(lines, section, key);

    if (place.keyLine) {
        const Line& line = lines[*place.keyLine];
        const std::string_view lineEnd = fileText.substr(line.start + line.text.size(),
                                                         line.end - line.start - line.text.size());
        return std::string(fileText.substr(0, line.start)) + keyLine + std::string(lineEnd) +
               std::string(fileText.substr(line.end));
    }
    std::string text(fileText);
    if (!text.empty() && text.back() != '\n') text += '\n';
    if (place.sectionLine) {
        std::size_t insertAt = lines[*place.sectionLine].end;
        if (insertAt >= fileText.size()) insertAt = text.size();
        return text.insert(insertAt, keyLine + "\n");
    }
    if (!text.empty()) text += '\n';
    return text + "[" + std::string(section) + "]\n" + keyLine + "\n";
}

}  // namespace quarnel
