// Decodes a text/uri-list (RFC 2483) into local path names, byte for byte, without the
// toolkit's own URL handling, which would alter names that are not valid UTF-8.
#pragma once

#include <string_view>

#include "platform/DropData.hpp"

namespace quarnel {

// A file list only when the list holds at least one URI and every URI is a local file: URI
// (no host, or "localhost"). A folder's trailing "/" is removed, except for the root.
DropData DropDataFromUriList(std::string_view uriList);

}  // namespace quarnel
