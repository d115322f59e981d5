#include "WinMsgBox.hpp"

#include <windows.h>

#include "support/WideText.hpp"

namespace quarnel {

// MessageBoxW shows a lone CR as a line break, so the prompt goes as it is. The box belongs to
// the program's window in front (the options dialog while it is open), else to the owner.
void WinMsgBox::Show(std::string_view prompt, int buttonsAndIcon, std::string_view title) {
    const HWND active = ::GetActiveWindow();
    ::MessageBoxW(active != nullptr ? active : owner_, WideFromUtf8(prompt).c_str(),
                  WideFromUtf8(title).c_str(), static_cast<UINT>(buttonsAndIcon));
}

}  // namespace quarnel
