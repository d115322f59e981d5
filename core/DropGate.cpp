#include "DropGate.hpp"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>

#include "Messages.hpp"
#include "ProgramTitle.hpp"

namespace quarnel {

// One drop, shared by the window's thread and the drop's own.
struct DropGate::Run {
    explicit Run(DropWindow& window) : window(window) {}

    void Stop() {
        progress->Stop();
        std::lock_guard lock(mutex);
        changed.notify_all();
    }
    // The drop's thread is done with what every drop uses.
    void MarkEnded() {
        std::lock_guard lock(mutex);
        ended = true;
        changed.notify_all();
    }
    void AwaitEnded() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return ended; });
    }

    DropWindow& window;
    const std::shared_ptr<DropProgress> progress = std::make_shared<DropProgress>();
    std::thread thread;          // touched on the window's thread only
    std::exception_ptr failure;  // written by the drop's thread before it says it has finished
    std::mutex mutex;
    std::condition_variable changed;
    bool ended = false;
};

thread_local std::shared_ptr<DropGate::Run> DropGate::threadRun_;

DropGate::~DropGate() {
    if (run_) run_->Stop();
    for (const std::shared_ptr<Run>& run : unjoined_) {
        if (run->thread.joinable()) run->thread.join();
    }
}

bool DropGate::TakeDrop(const std::function<DropData()>& copyNames) noexcept {
    if (busy_) return false;
    try {
        taken_ = copyNames();
    } catch (...) {
        copyFailure_ = std::current_exception();
    }
    busy_ = true;
    try {
        window_.Post({}, [this] { RunTakenDrop(); });
    } catch (...) {
        // Not posted, the drop would never run and never open the gate again.
        taken_ = {};
        copyFailure_ = nullptr;
        busy_ = false;
        ShowFailure(std::current_exception());
        return false;
    }
    return true;
}

bool DropGate::TakeDrop(DropData data) noexcept {
    return TakeDrop([&data] { return std::move(data); });
}

bool DropGate::MayClose() {
    if (!busy_) return true;
    closeRequested_ = true;
    window_.SetVisible(false);
    return false;
}

void DropGate::DropAtStart(DropData data) {
    closeRequested_ = true;
    atStart_ = true;
    if (!TakeDrop(std::move(data))) CloseAfterDrop();
}

void DropGate::StopDrop() {
    if (!run_) return;
    run_->Stop();
    if (atStart_) stoppedAtStart_ = true;
    EndRun(nullptr);
}

void DropGate::CallOnWindowThread(const std::function<void()>& call) {
    const std::shared_ptr<Run> run = threadRun_;
    if (!run) {
        call();
        return;
    }
    run->progress->ThrowIfStopped();
    enum class State { Waiting, Running, Done, Dropped };
    struct Call {
        State state = State::Waiting;
        std::exception_ptr failure;
    };
    const auto pending = std::make_shared<Call>();
    run->window.PostFromAnyThread([run, pending, &call] {
        {
            // After a stop nobody waits for it, and call is gone with its caller.
            std::lock_guard lock(run->mutex);
            if (pending->state != State::Waiting || run->progress->Stopped()) return;
            pending->state = State::Running;
        }
        std::exception_ptr failure;
        try {
            call();
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard lock(run->mutex);
        pending->failure = failure;
        pending->state = State::Done;
        run->changed.notify_all();
    });
    std::unique_lock lock(run->mutex);
    run->changed.wait(lock, [&] {
        return pending->state == State::Done ||
               (pending->state == State::Waiting && run->progress->Stopped());
    });
    if (pending->state != State::Done) {
        pending->state = State::Dropped;
        throw DropStopped{};
    }
    if (pending->failure) std::rethrow_exception(pending->failure);
}

void DropGate::PostToWindowThread(std::function<void()> call) {
    const std::shared_ptr<Run> run = threadRun_;
    if (!run) {
        call();
        return;
    }
    run->window.PostFromAnyThread(std::move(call));
}

void DropGate::ShowFailure(const std::exception_ptr& failure) noexcept {
    try {
        msgBox_.Show(DropFailedMessage(failure), cMsgInformation, ProgramTitle);
    } catch (...) {
        // Not even the message could be made or shown: nothing is left to say it with.
    }
}

void DropGate::RunTakenDrop() noexcept {
    std::exception_ptr failure = std::exchange(copyFailure_, nullptr);
    if (!failure) {
        try {
            StartRun(std::exchange(taken_, {}));
            return;
        } catch (...) {
            failure = std::current_exception();
        }
    }
    window_.ShowWaitCursor(true);
    EndRun(failure);
}

void DropGate::StartRun(DropData data) {
    const auto run = std::make_shared<Run>(window_);
    const auto dropped = std::make_shared<const DropData>(std::move(data));
    // A stopped drop's thread may still be on its way out: the next waits for it.
    const std::shared_ptr<Run> previous = std::exchange(lastRun_, run);
    const auto work = [this, run, previous, dropped](bool ownThread) {
        if (previous) previous->AwaitEnded();
        if (ownThread) threadRun_ = run;
        try {
            handleDrop_(*dropped, *run->progress);
        } catch (const DropStopped&) {
            // Ended for the user already.
        } catch (...) {
            run->failure = std::current_exception();
        }
        threadRun_.reset();
        run->MarkEnded();
        // Only the window's thread may end the drop for the user; a stopped one has ended.
        constexpr std::chrono::milliseconds cRetryAfter{10};
        while (!run->progress->Stopped()) {
            try {
                window_.PostFromAnyThread([this, run] { RunFinished(run); });
                break;
            } catch (...) {
                std::this_thread::sleep_for(cRetryAfter);
            }
        }
    };
    window_.ShowWaitCursor(true);
    run_ = run;
    unjoined_.push_back(run);
    try {
        run->thread = startThread_([work] { work(true); });
    } catch (const std::system_error&) {
        // No thread to be had: the drop runs here, the window waiting for it as it must.
        work(false);
    }
    constexpr std::chrono::seconds cProgressAfter{1};
    try {
        window_.Post(cProgressAfter, [this, run] {
            if (run_ == run) window_.ShowProgress(run->progress, [this] { StopDrop(); });
        });
    } catch (...) {
        // The drop runs all the same, without a progress window.
    }
}

void DropGate::RunFinished(const std::shared_ptr<Run>& run) noexcept {
    if (run->thread.joinable()) run->thread.join();
    unjoined_.erase(std::remove(unjoined_.begin(), unjoined_.end(), run), unjoined_.end());
    if (lastRun_ == run) lastRun_.reset();
    if (run_ == run) EndRun(run->failure);
}

void DropGate::EndRun(const std::exception_ptr& failure) noexcept {
    run_.reset();
    window_.HideProgress();
    window_.ShowWaitCursor(false);
    if (failure) ShowFailure(failure);
    busy_ = false;
    if (closeRequested_) CloseAfterDrop();
}

// Only a link-time placeholder for the progress window's stop: the drop still runs on the
// window's thread and holds no progress the gate could stop.
void DropGate::CloseAfterDrop() noexcept {
    try {
        window_.Post({}, [this] { window_.Close(); });
    } catch (...) {
        window_.Close();
    }
}

}  // namespace quarnel
