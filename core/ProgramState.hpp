// The state the whole program shares for its lifetime: the option flags, which of the two lists
// a drop fills (ActiveList) and the guard of the options dialog's own clicks. The flags are 16-bit
// and any non-zero value counts as on, because a hand-edited stored value may hold digits 2 to 9.
#pragma once

#include <array>
#include <cstdint>

namespace quarnel {

inline constexpr int cOptionCount = 14;

using OptionFlagArray = std::array<std::int16_t, cOptionCount>;

extern OptionFlagArray OptionFlags;
extern std::int16_t ActiveList;
extern std::int16_t InOptionSync;

inline bool IsOn(int optionIndex) { return OptionFlags[optionIndex] != 0; }

}  // namespace quarnel
