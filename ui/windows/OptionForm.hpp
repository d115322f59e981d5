// OptionForm on Win32: a fixed tool window with a small caption, only a close button and no
// task bar entry, centred on the main window's screen and built from its control table. Each
// frame is a group box; its option buttons are siblings of the box, the first of each frame
// starting a group, and selecting one clears the others of its frame. Tab stops at the selected
// button of each frame, or at its first button where none is selected. A button raises its click
// when it becomes selected, by the user or by SyncOptionButtons. Made for one opening, destroyed
// on close.
#pragma once

#include <array>
#include <optional>

#include "DialogFont.hpp"
#include "RememberedFocus.hpp"
#include "TableControls.hpp"
#include "WindowObject.hpp"
#include "ui/MainFormBehaviour.hpp"
#include "ui/OptionFormBehaviour.hpp"
#include "ui/OptionFormTable.hpp"

namespace quarnel {

class OptionForm final : public WindowObject, public CaptionedWindow, public OptionDialog {
public:
    // clicks outlives the dialog; blocked is the window that takes no input while the dialog
    // is shown. Made hidden and with no owner; the load has run.
    OptionForm(OptionClickHandler& clicks, NativeWindow blocked);
    ~OptionForm();

    NativeWindow Frame1(int index) const { return controls_.Find({"Frame1", index}); }
    NativeWindow Opt(int index) const { return controls_.Find({"Opt", index}); }
    double Dpi() const { return dpi_; }

    void SetCaption(std::string_view caption) override;
    bool IsSelected(int index) const override;
    void SetSelected(int index, bool selected) override;

    // Shows the dialog and runs its messages until it is closed, with the blocked window taking
    // no input meanwhile; that window is enabled again before the dialog is destroyed, so the
    // focus returns to it and not to another program. A WM_QUIT that arrives meanwhile is
    // posted again.
    void ShowModal() override;

private:
    std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    NativeWindow CreateControl(const ControlRow& control);
    void Layout();
    void Scale(unsigned monitorDpi);
    PixelRect ClientSize() const;
    int FrameOf(int optIndex) const;
    // A frame with no button on still takes Tab: at its first button.
    void KeepATabStop(const ControlRef& frame);

    OptionClickHandler& clicks_;
    NativeWindow blocked_;
    TableControls controls_;
    std::optional<DialogFont> font_;
    double dpi_ = 96.0;
    bool closed_ = false;
    RememberedFocus focus_;
};

// Makes a fresh OptionForm for each opening, blocking the main window while it is shown.
class OptionFormMaker final : public OptionDialogMaker {
public:
    OptionFormMaker(OptionClickHandler& clicks, NativeWindow mainWindow)
        : clicks_(clicks), mainWindow_(mainWindow) {}
    std::unique_ptr<OptionDialog> MakeOptionDialog() override {
        return std::make_unique<OptionForm>(clicks_, mainWindow_);
    }

private:
    OptionClickHandler& clicks_;
    NativeWindow mainWindow_;
};

}  // namespace quarnel
