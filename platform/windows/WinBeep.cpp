#include "WinBeep.hpp"

#include <windows.h>

namespace quarnel {

void WinBeep::beep() { ::MessageBeep(MB_OK); }

}  // namespace quarnel
