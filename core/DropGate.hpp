// The rules around a drop, the same for every toolkit. The names are copied out while the drop
// event runs, and the drop itself runs afterwards from the event loop, so the drag source never
// waits on message boxes or a long walk. A second drop is refused until the running one has
// finished. The window shows the wait cursor meanwhile. A window closed during a drop goes out
// of sight at once and closes once the drop is done, its text on the clipboard. Whatever
// escapes the drop handler ends here in one message, and the next drop still works. Names given
// when the program starts are one drop too, run with the window out of sight.
#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <memory>

#include "DropProgress.hpp"
#include "platform/DropData.hpp"
#include "platform/MsgBox.hpp"

namespace quarnel {

// What the main window does for the gate; each toolkit's main window implements it.
class DropWindow {
public:
    virtual ~DropWindow() = default;
    // Runs task from the event loop once delay has passed; with no delay, as soon as the event
    // being handled now has returned.
    virtual void Post(std::chrono::milliseconds delay, std::function<void()> task) = 0;
    virtual void ShowWaitCursor(bool waiting) = 0;
    virtual void SetVisible(bool visible) = 0;
    // Closes the window for good; the program then ends once nothing needs it any more.
    virtual void Close() = 0;
    // Runs task on the window's thread as soon as its event loop gets to it; safe to call from
    // any thread, also while the window closes (the task is then dropped).
    virtual void PostFromAnyThread(std::function<void()> task) = 0;
    // Shows the progress window, which reads progress four times a second until HideProgress;
    // its "Abbrechen", Escape and close button call the gate's StopDrop.
    virtual void ShowProgress(std::shared_ptr<const DropProgress> progress) = 0;
    virtual void HideProgress() = 0;
};

class DropGate {
public:
    using HandleDrop = std::function<void(const DropData&)>;

    // window and msgBox outlive the gate.
    DropGate(HandleDrop handleDrop, DropWindow& window, MsgBox& msgBox)
        : handleDrop_(std::move(handleDrop)), window_(window), msgBox_(msgBox) {}

    // What the drop target answers to a drag and to a drop: no while a drop waits or runs.
    bool AcceptsDrops() const { return !busy_; }

    // The drop event: copyNames takes the names out of the toolkit's data. False when the drop
    // is refused, or cannot be handed to the event loop (said at once); otherwise it runs once
    // the event has returned. A copy that fails is said then, as a drop that fails.
    bool TakeDrop(const std::function<DropData()>& copyNames) noexcept;
    // The same with the names already copied.
    bool TakeDrop(DropData data) noexcept;

    // The user closes the window: true when it may close now. During a drop the window hides
    // and closes once the drop has finished.
    bool MayClose();

    // Names given when the program starts (a file manager's selection): one drop, like a drop
    // on the window, while the window stays out of sight; it shows, framed and with the wait
    // cursor, only when the drop takes longer than a second. Once the drop is done the window
    // closes, as if closed during the drop.
    void DropAtStart(DropData data);

    // The user stops the running drop ("Abbrechen"): it ends at once, whatever the file system
    // does, and leaves the clipboard as it was, without beep or message.
    void StopDrop();

    // Says that a drop failed as a whole; the last word on whatever escaped, so it throws
    // nothing itself.
    void ShowFailure(const std::exception_ptr& failure) noexcept;

private:
    void RunTakenDrop() noexcept;
    void CloseAfterDrop() noexcept;

    HandleDrop handleDrop_;
    DropWindow& window_;
    MsgBox& msgBox_;
    DropData taken_;
    std::exception_ptr copyFailure_;  // the names could not be copied out of the drop's data
    bool busy_ = false;
    bool closeRequested_ = false;
};

}  // namespace quarnel
