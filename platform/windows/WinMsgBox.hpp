// Message boxes with MessageBoxW, modal to the owner window once it is known.
#pragma once

#include "NativeWindow.hpp"
#include "platform/MsgBox.hpp"

namespace quarnel {

class WinMsgBox final : public MsgBox {
public:
    void SetOwner(NativeWindow owner) { owner_ = owner; }
    void show(std::string_view prompt, int buttonsAndIcon, std::string_view title) override;

private:
    NativeWindow owner_ = nullptr;
};

}  // namespace quarnel
