#include "UriList.hpp"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "platform/NetworkLocations.hpp"
#include "platform/PercentDecoding.hpp"

namespace quarnel {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// A link dragged from a web browser: no file of a file manager's.
bool IsWebLink(std::string_view uri) {
    return EqualsNoCase(uri.substr(0, 7), "http://") || EqualsNoCase(uri.substr(0, 8), "https://");
}

}  // namespace

std::optional<std::string> LocalPathOfFileUri(std::string_view uri) {
    constexpr std::string_view scheme = "file:";
    if (!EqualsNoCase(uri.substr(0, scheme.size()), scheme)) return std::nullopt;
    std::string_view rest = uri.substr(scheme.size());
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const auto pathStart = rest.find('/');
        if (pathStart == std::string_view::npos) return std::nullopt;
        const std::string_view host = rest.substr(0, pathStart);
        if (!host.empty() && !EqualsNoCase(host, "localhost")) return std::nullopt;
        rest.remove_prefix(pathStart);
    }
    if (!rest.starts_with('/')) return std::nullopt;
    // A stray unencoded "?" or "#" stays part of the name rather than cutting it short.
    std::string path = PercentDecoded(rest);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

DropData DropDataFromUriList(std::string_view uriList) {
    DropData data;
    while (!uriList.empty()) {
        const auto lineEnd = uriList.find('\n');
        std::string_view line = uriList.substr(0, lineEnd);
        uriList.remove_prefix(lineEnd == std::string_view::npos ? uriList.size() : lineEnd + 1);

        while (!line.empty() &&
               (line.back() == '\r' || line.back() == ' ' || line.back() == '\0')) {
            line.remove_suffix(1);
        }
        while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        if (line.empty() || line.front() == '#') continue;

        if (auto path = LocalPathOfFileUri(line)) {
            data.names.push_back(std::move(*path));
        } else if (IsNetworkLocation(line) && !IsWebLink(line) &&
                   !EqualsNoCase(line.substr(0, 5), "file:")) {
            // Asked after during the drop, off the window's thread.
            data.names.emplace_back(line);
        } else {
            return DropData{};
        }
    }
    data.holdsFileList = !data.names.empty();
    return data;
}

}  // namespace quarnel
