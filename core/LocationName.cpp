#include "LocationName.hpp"

#include "platform/PercentDecoding.hpp"

namespace quarnel {

std::string LocationName(std::string_view uri) {
    constexpr std::string_view cAuthorityStart = "://";
    const auto schemeEnd = uri.find(cAuthorityStart);
    if (schemeEnd == std::string_view::npos) return PercentDecoded(uri);
    const std::string_view scheme = uri.substr(0, schemeEnd + cAuthorityStart.size());
    std::string_view rest = uri.substr(scheme.size());
    const std::string_view authority = rest.substr(0, rest.find('/'));
    // A password may hold "@" too: the login ends at the authority's last one.
    const auto loginEnd = authority.rfind('@');
    if (loginEnd != std::string_view::npos) rest.remove_prefix(loginEnd + 1);
    while (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    return std::string(scheme) + PercentDecoded(rest);
}

}  // namespace quarnel
