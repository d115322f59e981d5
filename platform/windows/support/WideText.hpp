// UTF-8 inside the program, UTF-16 at every Windows call. A Windows name may hold a lone
// surrogate; it travels through the program as its three generalised UTF-8 bytes (which the
// drop handling shows as "?") and comes back unchanged, so such a folder can still be opened.
#pragma once

#include <string>
#include <string_view>

namespace quarnel {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace quarnel
