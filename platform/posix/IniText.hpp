// The one-line-per-setting text of the settings file, read and written as a person would edit
// it: a value is whatever stands after "=", blanks around it trimmed, with no quoting, escaping
// or list parsing. Every other line is kept as it is, its line end too. The text is taken as a
// stream of lines, so a file of any size costs little memory.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

class LineSource {
public:
    virtual ~LineSource() = default;
    // The next line with its line end (LF, CR LF, or none for a last line without one), valid
    // until the next call; false after the last line.
    virtual bool NextLine(std::string_view& line) = 0;
};

// The lines of a text in memory.
class TextLines final : public LineSource {
public:
    explicit TextLines(std::string_view text) : rest_(text) {}
    bool NextLine(std::string_view& line) override;

private:
    std::string_view rest_;
};

std::optional<std::string> IniValue(LineSource& lines, std::string_view section,
                                    std::string_view key);

// Where the key stands, found by one pass over the lines, and the file's own line end.
struct IniKeyPlace {
    std::optional<std::size_t> sectionLine;
    std::optional<std::size_t> keyLine;
    std::string lineEnd = "\n";
};
IniKeyPlace FindIniKey(LineSource& lines, std::string_view section, std::string_view key);

// Passes the lines, read a second time, to out with the key's line set to "key=value", added
// after the section's first line where it is missing, or in a new section at the end.
void CopyWithIniValue(LineSource& lines, const IniKeyPlace& place, std::string_view section,
                      std::string_view key, std::string_view value,
                      const std::function<void(std::string_view)>& out);

// The same for a text in memory.
std::optional<std::string> IniValue(std::string_view fileText, std::string_view section,
                                    std::string_view key);
std::string WithIniValue(std::string_view fileText, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace quarnel
