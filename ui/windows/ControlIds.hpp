// The child window ids of the two windows' controls, by control array and index.
#pragma once

namespace quarnel::ControlIds {

inline constexpr int cBtn = 100;
inline constexpr int cDropFrame = 200;
inline constexpr int cImage1 = 201;
inline constexpr int cOpt = 300;
inline constexpr int cFrame1 = 400;

}  // namespace quarnel::ControlIds
