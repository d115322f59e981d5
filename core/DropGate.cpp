#include "DropGate.hpp"

#include <utility>

#include "Messages.hpp"
#include "ProgramTitle.hpp"

namespace quarnel {

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
    constexpr std::chrono::seconds cShownAfter{1};
    closeRequested_ = true;
    if (!TakeDrop(std::move(data))) {
        CloseAfterDrop();
        return;
    }
    try {
        window_.Post(cShownAfter, [this] {
            if (busy_) window_.SetVisible(true);
        });
    } catch (...) {
        // The drop runs all the same, out of sight.
    }
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
    try {
        const DropData data = std::exchange(taken_, {});
        window_.ShowWaitCursor(true);
        if (!failure) handleDrop_(data);
    } catch (...) {
        // The handler has left the clipboard as it was and taken its frame down.
        failure = std::current_exception();
    }
    window_.ShowWaitCursor(false);
    if (failure) ShowFailure(failure);
    busy_ = false;
    if (closeRequested_) CloseAfterDrop();
}

// Only a link-time placeholder for the progress window's stop: the drop still runs on the
// window's thread and holds no progress the gate could stop.
void DropGate::StopDrop() {}

void DropGate::CloseAfterDrop() noexcept {
    try {
        window_.Post({}, [this] { window_.Close(); });
    } catch (...) {
        window_.Close();
    }
}

}  // namespace quarnel
