#include "WinHandles.hpp"

#include <windows.h>

namespace quarnel {

void FontDeleter::operator()(HFONT__* font) const { DeleteObject(font); }

void IconDestroyer::operator()(HICON__* icon) const { DestroyIcon(icon); }

}  // namespace quarnel
