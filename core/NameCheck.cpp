#include "NameCheck.hpp"

#include <cstddef>
#include <cstdint>

namespace quarnel {
namespace {

// Length of the valid, printable UTF-8 sequence at the start of text, 0 when there is none.
std::size_t PrintableSequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) return (lead < 0x20 || lead == 0x7F) ? 0 : 1;

    std::size_t length = 0;
    std::uint32_t codePoint = 0;
    std::uint32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
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
    const bool overlong = codePoint < smallest;
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    const bool c1Control = codePoint >= 0x80 && codePoint <= 0x9F;
    const bool separator = codePoint == 0x2028 || codePoint == 0x2029;
    if (overlong || surrogate || c1Control || separator || codePoint > 0x10FFFF) return 0;
    return length;
}

}  // namespace

std::size_t CharacterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length > text.size()) return 1;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
    }
    return length;
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
