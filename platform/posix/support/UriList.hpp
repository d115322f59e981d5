// Decodes a text/uri-list (RFC 2483) into local path names, byte for byte, without the
// toolkit's own URL handling, which would alter names that are not valid UTF-8. A file
// manager's network location (smb://, sftp://, …) stays its URI, for the drop to ask after.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/DropData.hpp"

namespace quarnel {

// A file list only when the list holds at least one URI and every URI is a local file: URI
// (no host, or "localhost") or a network location; a web link (http:, https:) makes it none.
// A folder's trailing "/" is removed, except for the root.
DropData DropDataFromUriList(std::string_view uriList);

// The path of a local file: URI (no host, or "localhost"), or nullopt for any other text.
std::optional<std::string> LocalPathOfFileUri(std::string_view uri);

}  // namespace quarnel
