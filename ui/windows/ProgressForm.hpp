// The progress window on Win32: a small tool window owned by the main window, so that it stays
// above it also when the main window stays on top; an owned window shows also while its owner
// is out of sight, and keeps a task bar button of its own. Four times a second it reads how far
// the drop has come; "Abbrechen", Escape and its close button call the stop it is given, and it
// stays until its owner hides it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "DialogFont.hpp"
#include "WindowObject.hpp"
#include "core/DropProgress.hpp"

namespace quarnel {

class ProgressForm final : public WindowObject {
public:
    // Shown at once, owned by placeAt and centred on its monitor. A window the system refuses to
    // make has no handle, and the drop runs on without it.
    ProgressForm(std::shared_ptr<const DropProgress> progress, std::function<void()> stop,
                 NativeWindow placeAt);
    ~ProgressForm();

    NativeWindow Line() const { return line_; }
    NativeWindow Count() const { return count_; }
    NativeWindow Folder() const { return folder_; }
    NativeWindow CancelButton() const { return cancel_; }
    double Dpi() const { return dpi_; }

    // Out of sight for good: it reads the progress no more.
    void Hide();

private:
    std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    NativeWindow AddControl(const wchar_t* className, std::string_view caption, unsigned long style,
                            int id);
    void Layout(NativeWindow placeAt);
    void Scale(unsigned monitorDpi);
    void Update();

    std::shared_ptr<const DropProgress> progress_;
    std::function<void()> stop_;
    std::optional<DialogFont> font_;
    double dpi_ = 96.0;
    NativeWindow line_ = nullptr;
    NativeWindow count_ = nullptr;
    NativeWindow folder_ = nullptr;
    NativeWindow cancel_ = nullptr;
    std::optional<std::uint64_t> shownCount_;
    std::string shownFolder_;
};

}  // namespace quarnel
