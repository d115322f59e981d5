// OptionForm on Win32: a fixed tool window with a small caption, only a close button and no
// task bar entry, centred on the screen and built from its control table. Each frame is a group
// box; its option buttons are siblings of the box, the first of each frame starting a group, and
// selecting one clears the others of its frame. A button raises its click when it becomes
// selected, by the user or by SyncOptionButtons. Made for one opening, destroyed on close.
#pragma once

#include <array>
#include <optional>

#include "DialogFont.hpp"
#include "ScratchWindow.hpp"
#include "TableControls.hpp"
#include "platform/windows/WinMsgBox.hpp"
#include "ui/OptionFormBehaviour.hpp"
#include "ui/OptionFormTable.hpp"

namespace quarnel {

class OptionForm final : public ScratchWindow, public OptionFormView, public OptionButtons {
public:
    // clicks outlives the dialog. Made hidden and with no owner; the load has run.
    explicit OptionForm(OptionClicks& clicks);
    ~OptionForm();

    NativeWindow Frame1(int index) const { return controls_.Find("Frame1", index); }
    NativeWindow Opt(int index) const { return controls_.Find("Opt", index); }
    double Dpi() const { return dpi_; }

    void SetCaption(std::string_view caption) override;
    bool IsSelected(int index) const override;
    void SetSelected(int index, bool selected) override;

    // Shows the dialog and runs its messages until it is closed, with blocked taking no input
    // meanwhile; blocked is enabled again before the dialog is destroyed, so the focus returns
    // to it and not to another program. A WM_QUIT that arrives meanwhile is posted again.
    void ShowModal(NativeWindow blocked);

private:
    std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    NativeWindow CreateControl(const ControlRow& control);
    void Layout(unsigned monitorDpi);
    int FrameOf(int optIndex) const;

    OptionClicks& clicks_;
    WinMsgBox msgBox_;
    TableControls controls_;
    std::optional<DialogFont> font_;
    double dpi_ = 96.0;
    bool closed_ = false;
};

}  // namespace quarnel
