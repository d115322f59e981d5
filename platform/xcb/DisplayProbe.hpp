// Whether the X display named by DISPLAY accepts a client, asked before Qt starts: Qt aborts with
// lines of its own when it cannot open the display.
#pragma once

namespace quarnel {

bool CanReachX11Display();

}  // namespace quarnel
