#include "LongPathPrefix.hpp"

namespace quarnel {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Windows takes "UNC" in any case.
bool StartsWithUnc(std::string_view name) {
    if (name.size() < 4 || name[3] != '\\') return false;
    for (std::size_t i = 0; i < 3; ++i) {
        if ((name[i] & ~0x20) != "UNC"[i]) return false;
    }
    return true;
}

}  // namespace

std::string WithoutLongPathPrefix(std::string_view name) {
    constexpr std::string_view prefix = "\\\\?\\";
    if (!name.starts_with(prefix)) return std::string(name);
    const std::string_view rest = name.substr(prefix.size());
    if (StartsWithUnc(rest)) return "\\\\" + std::string(rest.substr(4));
    const bool drivePath =
        rest.size() >= 3 && IsAsciiLetter(rest[0]) && rest[1] == ':' && rest[2] == '\\';
    return std::string(drivePath ? rest : name);
}

}  // namespace quarnel
