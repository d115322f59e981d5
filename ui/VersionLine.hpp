// The title line with the version numbers that the help and info messages begin with.
#pragma once

#include <string>

#include "platform/ProgramVersion.hpp"

namespace quarnel {

// "Quarnel!: Buchhalter für Dateilisten (Version<major>.<minor>)"; the revision is not shown.
std::string VersionLine(const ProgramVersion& version);

}  // namespace quarnel
