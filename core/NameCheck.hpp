// Which names can become one line of the output text: valid UTF-8 without control characters.
// "?" is refused too, since it stands for a character the file manager could not hand over.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quarnel {

bool IsPrintableUtf8(std::string_view name);

// The bytes of the UTF-8 character at the front of text (which is not empty); a lone surrogate
// (from a Windows name or registry value) is one character too. A byte that starts no such
// character (a stray or bad lead byte, a cut sequence, an overlong form, a code point above
// U+10FFFF) counts as one character on its own.
std::size_t CharacterLength(std::string_view text);

// True for a dropped name that must be refused with the invalid-characters message.
bool HasInvalidCharacters(std::string_view name);

// The name with each byte that is not printable UTF-8 replaced by "?", so it fits on one line.
std::string PrintableName(std::string_view name);

}  // namespace quarnel
