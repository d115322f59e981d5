// The Windows window handle, named without windows.h, so headers of the Windows services stay
// free of it. windows.h declares the same struct.
#pragma once

struct HWND__;

namespace quarnel {

using NativeWindow = HWND__*;

}  // namespace quarnel
