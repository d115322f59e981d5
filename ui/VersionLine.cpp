#include "VersionLine.hpp"

namespace quarnel {

std::string VersionLine(const ProgramVersion& version) {
    return "Quarnel!: Buchhalter für Dateilisten (Version" + std::to_string(version.major) + "." +
           std::to_string(version.minor) + ")";
}

}  // namespace quarnel
