// Collation and case in the user's locale: sort keys from LCMapStringEx (case ignored), upper
// and lower case one character for one.
#pragma once

#include "platform/TextRules.hpp"

namespace quarnel {

class WinTextRules final : public TextRules {
public:
    void AppendCollationKey(std::string_view text, std::string& keys) const override;
    std::string ToUpper(std::string_view text) const override;
    std::string ToLower(std::string_view text) const override;
};

}  // namespace quarnel
