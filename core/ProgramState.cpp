#include "ProgramState.hpp"

namespace quarnel {

SharedOptionFlags OptionFlags;
std::int16_t ActiveList = 0;
std::int16_t InOptionSync = 0;

}  // namespace quarnel
