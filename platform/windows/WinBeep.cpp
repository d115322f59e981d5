#include "WinBeep.hpp"

#include <windows.h>

namespace quarnel {

void WinBeep::Sound() { ::MessageBeep(MB_OK); }

}  // namespace quarnel
