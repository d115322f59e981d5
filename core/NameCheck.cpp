#include "NameCheck.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace quarnel {
namespace {

// Length of the well-formed sequence at the start of text (which is not empty), 0 when there is
// none: overlong forms and code points above U+10FFFF are none. A surrogate is one: a lone one
// in a Windows name or registry value travels through the program as its three generalised
// UTF-8 bytes. The code point goes to codePoint.
std::size_t Utf8SequenceLength(std::string_view text, std::uint32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    std::uint32_t smallest = 0;
    if (lead < 0x80) {
        length = 1, codePoint = lead, smallest = 0;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, codePoint = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, codePoint = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    return codePoint < smallest || codePoint > 0x10FFFF ? 0 : length;
}

// Length of the valid, printable UTF-8 sequence at the start of text, 0 when there is none.
std::size_t PrintableSequenceLength(std::string_view text) {
    std::uint32_t codePoint = 0;
    const std::size_t length = Utf8SequenceLength(text, codePoint);
    const bool control = codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    const bool separator = codePoint == 0x2028 || codePoint == 0x2029;
    return control || surrogate || separator ? 0 : length;
}

}  // namespace

std::size_t CharacterLength(std::string_view text) {
    std::uint32_t codePoint = 0;
    return std::max<std::size_t>(Utf8SequenceLength(text, codePoint), 1);
}

bool IsPrintableUtf8(std::string_view name) {
    std::size_t at = 0;
    while (at < name.size()) {
        // most names are plain ASCII: those bytes are looked at here, without a call
        const auto byte = static_cast<unsigned char>(name[at]);
        if (byte >= 0x20 && byte < 0x7F) {
            ++at;
            continue;
        }
        const std::size_t length = PrintableSequenceLength(name.substr(at));
        if (length == 0) return false;
        at += length;
    }
    return true;
}

bool HasInvalidCharacters(std::string_view name) {
    return name.find('?') != std::string_view::npos || !IsPrintableUtf8(name);
}

std::string PrintableName(std::string_view name) {
    if (IsPrintableUtf8(name)) return std::string(name);
    std::string printable;
    printable.reserve(name.size());
    while (!name.empty()) {
        const std::size_t length = PrintableSequenceLength(name);
        if (length == 0) {
            printable += '?';
            name.remove_prefix(1);
        } else {
            printable.append(name.substr(0, length));
            name.remove_prefix(length);
        }
    }
    return printable;
}

}  // namespace quarnel
