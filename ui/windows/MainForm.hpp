// MainForm on Win32: a fixed tool window with a small caption and only a close button, shown in
// the task bar, its controls built from the control table. Closing it ends the program; closed
// while a drop runs, it hides and goes once the drop has finished.
#pragma once

#include <memory>
#include <optional>

#include "DialogFont.hpp"
#include "DropImage.hpp"
#include "ScratchWindow.hpp"
#include "TableControls.hpp"
#include "ui/MainFormBehaviour.hpp"
#include "ui/OptionFormBehaviour.hpp"

namespace quarnel {

class MainForm final : public ScratchWindow, public MainFormView, public MainFormCommands {
public:
    // Made hidden, so the load can run before it is shown.
    MainForm();
    ~MainForm();

    DropImage& Image1() { return *image1_; }
    NativeWindow DropFrame() const { return controls_.Find("DropFrame"); }
    NativeWindow Btn(int index) const { return controls_.Find("Btn", index); }
    // The dpi at which the table's twips become pixels.
    double Dpi() const { return dpi_; }

    void Show();

    void SetCaption(std::string_view caption) override;

    // The message box and the option clicks the buttons use; set by the program before the
    // window is shown, and alive as long as the window.
    void SetButtonServices(MsgBox& msgBox, OptionClicks& optionClicks);

    void OpenOptions() override;
    void ShowHelp() override;
    void ShowInfo() override;

private:
    std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    NativeWindow CreateControl(const ControlRow& control);
    void Layout(unsigned monitorDpi);
    void OnClose();

    TableControls controls_;
    std::unique_ptr<DropImage> image1_;
    std::optional<DialogFont> font_;
    double dpi_ = 96.0;
    bool closeAfterDrop_ = false;
    NativeWindow focus_ = nullptr;
    MsgBox* msgBox_ = nullptr;
    OptionClicks* optionClicks_ = nullptr;
};

}  // namespace quarnel
