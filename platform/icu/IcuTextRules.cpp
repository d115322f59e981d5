#include "IcuTextRules.hpp"

#include "CollationLocale.hpp"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <stdexcept>

namespace quarnel {
namespace {

template <typename MapCodePoint>
std::string MapEachCodePoint(std::string_view text, MapCodePoint map) {
    std::string mapped(text.size() + 8, '\0');
    std::int32_t in = 0;
    std::int32_t out = 0;
    const auto length = static_cast<std::int32_t>(text.size());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    while (in < length) {
        UChar32 c = 0;
        U8_NEXT(bytes, in, length, c);
        if (c < 0) c = 0xFFFD;
        if (static_cast<std::size_t>(out) + U8_MAX_LENGTH > mapped.size()) {
            mapped.resize(mapped.size() * 2);
        }
        U8_APPEND_UNSAFE(mapped.data(), out, map(c));
    }
    mapped.resize(static_cast<std::size_t>(out));
    return mapped;
}

}  // namespace

void IcuTextRules::CollatorCloser::operator()(UCollator* collator) const { ucol_close(collator); }

UCollator* IcuTextRules::Collator() const {
    if (collator_) return collator_.get();
    UErrorCode status = U_ZERO_ERROR;
    collator_.reset(ucol_open(localeName_.c_str(), &status));
    if (U_FAILURE(status)) {
        // A locale name the collator refuses sorts as German, like an unset locale.
        status = U_ZERO_ERROR;
        collator_.reset(ucol_open(cFallbackCollationLocale, &status));
    }
    if (U_FAILURE(status)) {
        collator_.reset();
        throw std::runtime_error("ICU has no German collation");
    }
    ucol_setStrength(collator_.get(), UCOL_SECONDARY);
    return collator_.get();
}

IcuTextRules::~IcuTextRules() = default;

void IcuTextRules::AppendCollationKey(std::string_view text, std::string& keys) const {
    UErrorCode status = U_ZERO_ERROR;
    std::int32_t utf16Length = 0;
    if (utf16_.size() < text.size() + 1) utf16_.resize(text.size() + 1);
    u_strFromUTF8WithSub(utf16_.data(), static_cast<std::int32_t>(utf16_.size()), &utf16Length,
                         text.data(), static_cast<std::int32_t>(text.size()), 0xFFFD, nullptr,
                         &status);

    const std::size_t start = keys.size();
    std::size_t room = static_cast<std::size_t>(utf16Length) * 3 + 16;
    for (;;) {
        keys.resize(start + room);
        auto* keyBytes = reinterpret_cast<std::uint8_t*>(keys.data() + start);
        const std::int32_t keyLength = ucol_getSortKey(Collator(), utf16_.data(), utf16Length,
                                                       keyBytes, static_cast<std::int32_t>(room));
        if (static_cast<std::size_t>(keyLength) <= room) {
            // ICU ends every key with a 0 byte; keys are compared by length instead.
            keys.resize(start + static_cast<std::size_t>(keyLength > 0 ? keyLength - 1 : 0));
            return;
        }
        room = static_cast<std::size_t>(keyLength);
    }
}

std::string IcuTextRules::ToUpper(std::string_view text) const {
    return MapEachCodePoint(text, [](UChar32 c) { return u_toupper(c); });
}

std::string IcuTextRules::ToLower(std::string_view text) const {
    return MapEachCodePoint(text, [](UChar32 c) { return u_tolower(c); });
}

}  // namespace quarnel
