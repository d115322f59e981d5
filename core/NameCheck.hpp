// Which names can become one line of the output text: valid UTF-8 without control characters.
// "?" is refused too, since it stands for a character the file manager could not hand over.
#pragma once

#include <string>
#include <string_view>

namespace quarnel {

bool IsPrintableUtf8(std::string_view name);

// True for a dropped name that must be refused with the invalid-characters message.
bool HasInvalidCharacters(std::string_view name);

// The name with each byte that is not printable UTF-8 replaced by "?", so it fits on one line.
std::string PrintableName(std::string_view name);

}  // namespace quarnel
