// Locale-dependent text rules: collation for the sorted list and case mapping. All text is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace quarnel {

class TextRules {
public:
    virtual ~TextRules() = default;
    // Appends the key of text to keys. Keys compare bytewise in the order the sorted list
    // keeps: case-insensitive and locale-aware. Equal keys mean equal rank.
    virtual void AppendCollationKey(std::string_view text, std::string& keys) const = 0;
    virtual std::string ToUpper(std::string_view text) const = 0;
    virtual std::string ToLower(std::string_view text) const = 0;
};

}  // namespace quarnel
