// MainForm on Win32: a fixed tool window with a small caption and only a close button, shown in
// the task bar, its controls built from the control table. Its events go to the drop gate and
// the buttons' behaviour; it draws what the gate asks for. Closing it ends the program.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "DialogFont.hpp"
#include "DropImage.hpp"
#include "ProgressForm.hpp"
#include "RememberedFocus.hpp"
#include "StartupCalls.hpp"
#include "TableControls.hpp"
#include "WindowObject.hpp"
#include "core/DropGate.hpp"
#include "ui/MainFormBehaviour.hpp"

namespace quarnel {

class MainForm final : public WindowObject, public CaptionedWindow, public DropWindow {
public:
    // Made hidden, so the load can run before it is shown. Throws StartupFailure when a window
    // cannot be made; calls outlives the window.
    explicit MainForm(StartupCalls& calls);
    ~MainForm();

    DropImage& Image1() { return *image1_; }
    NativeWindow DropFrame() const { return controls_.Find({"DropFrame"}); }
    NativeWindow Btn(int index) const { return controls_.Find({"Btn", index}); }
    // The dpi at which the table's twips become pixels.
    double Dpi() const { return dpi_; }

    // What the window's events call; both outlive the window. Throws StartupFailure when
    // Image1 cannot take drops.
    void Connect(DropGate& dropGate, MainFormButtons& buttons);

    void SetCaption(std::string_view caption) override;

    void Show() { SetVisible(true); }

    void Post(std::chrono::milliseconds delay, std::function<void()> task) override;
    void ShowWaitCursor(bool waiting) override;
    void SetVisible(bool visible) override;
    void Close() override;
    void PostFromAnyThread(std::function<void()> task) override;
    void ShowProgress(std::shared_ptr<const DropProgress> progress,
                      std::function<void()> stop) override;
    void HideProgress() override;
    // The progress window while it shows, else nullptr.
    ProgressForm* Progress() const { return progress_.get(); }

private:
    std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    NativeWindow CreateControl(const ControlRow& control);
    void Layout(unsigned monitorDpi);
    void Scale(unsigned monitorDpi);
    PixelRect ClientSize() const;
    void RunPosted();
    void RunTask(const std::function<void()>& task);
    void RunFromAnyThread();
    // From the window's destruction on, tasks from other threads are dropped.
    void RefuseFromAnyThread();

    StartupCalls& calls_;
    TableControls controls_;
    std::unique_ptr<DropImage> image1_;
    std::optional<DialogFont> font_;
    double dpi_ = 96.0;
    bool waiting_ = false;
    RememberedFocus focus_;
    DropGate* dropGate_ = nullptr;
    MainFormButtons* buttons_ = nullptr;
    std::deque<std::function<void()>> posted_;
    std::map<std::uintptr_t, std::function<void()>> delayed_;  // by timer id
    std::uintptr_t nextTimer_ = 1;

    std::mutex fromAnyThreadMutex_;
    // Guarded by fromAnyThreadMutex_: where tasks are posted (nullptr once the window goes),
    // the tasks waiting, and whether a message to run them is on its way.
    NativeWindow fromAnyThreadWindow_ = nullptr;
    std::vector<std::function<void()>> fromAnyThread_;
    bool fromAnyThreadPosted_ = false;

    std::unique_ptr<ProgressForm> progress_;
    // A progress window taken down from inside its own message: destroyed once that returned.
    std::unique_ptr<ProgressForm> hiddenProgress_;
};

}  // namespace quarnel
