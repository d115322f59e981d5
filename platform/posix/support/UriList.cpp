#include "UriList.hpp"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

namespace quarnel {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// The path of a local file: URI, or nullopt for any other URI.
std::optional<std::string> LocalPath(std::string_view uri) {
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

}  // namespace

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

        auto path = LocalPath(line);
        if (!path) return DropData{};
        data.names.push_back(std::move(*path));
    }
    data.holdsFileList = !data.names.empty();
    return data;
}

}  // namespace quarnel
