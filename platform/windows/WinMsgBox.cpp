#include "WinMsgBox.hpp"

#include <windows.h>

#include "WideText.hpp"

namespace quarnel {

// MessageBoxW shows a lone CR as a line break, so the prompt goes as it is.
void WinMsgBox::show(std::string_view prompt, int buttonsAndIcon, std::string_view title) {
    ::MessageBoxW(owner_, WideFromUtf8(prompt).c_str(), WideFromUtf8(title).c_str(),
                  static_cast<UINT>(buttonsAndIcon));
}

}  // namespace quarnel
