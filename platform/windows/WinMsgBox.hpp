// Message boxes with MessageBoxW, modal to the program's window in front, else to the owner.
#pragma once

#include "platform/MsgBox.hpp"
#include "support/NativeWindow.hpp"

namespace quarnel {

class WinMsgBox final : public MsgBox {
public:
    void SetOwner(NativeWindow owner) { owner_ = owner; }
    void Show(std::string_view prompt, int buttonsAndIcon, std::string_view title) override;

private:
    NativeWindow owner_ = nullptr;
};

}  // namespace quarnel
