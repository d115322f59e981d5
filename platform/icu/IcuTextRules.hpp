// Collation and case mapping with ICU. The sorted list ignores case but not accents, so "ä"
// stands beside "a"; case changes map one character to one character, so "ß" stays "ß".
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "platform/TextRules.hpp"

struct UCollator;

namespace quarnel {

class IcuTextRules final : public TextRules {
public:
    // A name ICU refuses (a made-up one, say) gives the German order. The collation is loaded
    // when the first key is asked for: a list in arrival order never needs it.
    explicit IcuTextRules(std::string localeName) : localeName_(std::move(localeName)) {}
    ~IcuTextRules() override;

    void AppendCollationKey(std::string_view text, std::string& keys) const override;
    std::string ToUpper(std::string_view text) const override;
    std::string ToLower(std::string_view text) const override;

private:
    struct CollatorCloser {
        void operator()(UCollator* collator) const;
    };
    UCollator* Collator() const;

    std::string localeName_;
    mutable std::unique_ptr<UCollator, CollatorCloser> collator_;
    mutable std::u16string utf16_;  // reused between calls; sorting calls this once per entry
};

}  // namespace quarnel
