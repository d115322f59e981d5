// The rules around a drop, the same for every toolkit. The names are copied out while the drop
// event runs, and the drop itself starts afterwards from the event loop, on a thread of its own,
// so neither the drag source nor the window ever waits on the file system. A second drop is
// refused until the running one has finished. The window shows the wait cursor meanwhile, and
// after a second the progress window, which can stop the drop. A window closed during a drop
// goes out of sight at once and closes once the drop is done, its text on the clipboard.
// Whatever escapes the drop handler ends here in one message, and the next drop still works.
// Names given when the program starts are one drop too, run with the window out of sight.
#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "DropProgress.hpp"
#include "ThreadStart.hpp"
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
    // its "Abbrechen", Escape and close button call stop.
    virtual void ShowProgress(std::shared_ptr<const DropProgress> progress,
                              std::function<void()> stop) = 0;
    virtual void HideProgress() = 0;
};

class DropGate {
public:
    // Runs on the drop's own thread; what it asks of the window goes through CallOnWindowThread.
    using HandleDrop = std::function<void(const DropData&, DropProgress&)>;

    // window and msgBox outlive the gate. Where startThread has no thread to give, a drop runs
    // on the window's thread.
    DropGate(HandleDrop handleDrop, DropWindow& window, MsgBox& msgBox,
             ThreadStarter startThread = StartThread)
        : handleDrop_(std::move(handleDrop)),
          window_(window),
          msgBox_(msgBox),
          startThread_(std::move(startThread)) {}
    // Stops a drop still running and waits for its thread, which asks the file system nothing
    // itself and so ends at once.
    ~DropGate();
    DropGate(const DropGate&) = delete;
    DropGate& operator=(const DropGate&) = delete;

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
    // on the window, while the window stays out of sight; the progress window shows when it
    // takes longer than a second. Once the drop is done the window closes, as if closed during
    // the drop.
    void DropAtStart(DropData data);

    // The user stops the running drop ("Abbrechen"): it ends at once, whatever the file system
    // does, and leaves the clipboard as it was, without beep or message. Names given at start
    // end the program then.
    void StopDrop();
    // True once names given at start were stopped: the program ends without a list.
    bool StoppedAtStart() const { return stoppedAtStart_; }

    // For the drop's thread: runs call on the window's thread and waits for it. Once the drop
    // is stopped, a call not yet begun is dropped and DropStopped thrown. Called on the window's
    // thread, it runs at once.
    static void CallOnWindowThread(const std::function<void()>& call);
    // The same without waiting, for what must reach the window even after a stop.
    static void PostToWindowThread(std::function<void()> call);

    // Says that a drop failed as a whole; the last word on whatever escaped, so it throws
    // nothing itself.
    void ShowFailure(const std::exception_ptr& failure) noexcept;

private:
    struct Run;

    void RunTakenDrop() noexcept;
    void StartRun(DropData data);
    void RunFinished(const std::shared_ptr<Run>& run) noexcept;
    void EndRun(const std::exception_ptr& failure) noexcept;
    void CloseAfterDrop() noexcept;

    HandleDrop handleDrop_;
    DropWindow& window_;
    MsgBox& msgBox_;
    ThreadStarter startThread_;
    DropData taken_;
    std::exception_ptr copyFailure_;  // the names could not be copied out of the drop's data
    std::shared_ptr<Run> run_;        // the drop running now, as the user sees it
    std::shared_ptr<Run> lastRun_;    // the drop started last, whose thread the next one awaits
    std::vector<std::shared_ptr<Run>> unjoined_;          // drops whose threads are not joined yet
    static thread_local std::shared_ptr<Run> threadRun_;  // on a drop's thread, its drop
    bool busy_ = false;
    bool closeRequested_ = false;
    bool atStart_ = false;
    bool stoppedAtStart_ = false;
};

}  // namespace quarnel
