#include "DropGate.hpp"

#include "Messages.hpp"
#include "ProgramTitle.hpp"

namespace quarnel {

bool DropGate::TakeDrop(DropData data) {
    if (busy_) return false;
    busy_ = true;
    taken_ = std::move(data);
    window_.Post({}, [this] { RunTakenDrop(); });
    return true;
}

bool DropGate::MayClose() {
    if (!busy_) return true;
    closeRequested_ = true;
    window_.SetVisible(false);
    return false;
}

void DropGate::DropAtStart(DropData data) {
    constexpr std::chrono::seconds cShownAfter{1};
    TakeDrop(std::move(data));
    closeRequested_ = true;
    window_.Post(cShownAfter, [this] {
        if (busy_) window_.SetVisible(true);
    });
}

void DropGate::RunTakenDrop() {
    const DropData data = std::move(taken_);
    taken_ = {};
    window_.ShowWaitCursor(true);
    std::exception_ptr failure;
    try {
        handleDrop_(data);
    } catch (...) {
        // The handler has left the clipboard as it was and taken its frame down.
        failure = std::current_exception();
    }
    window_.ShowWaitCursor(false);
    if (failure) msgBox_.Show(DropFailedMessage(failure), cMsgInformation, ProgramTitle);
    busy_ = false;
    if (closeRequested_) window_.Post({}, [this] { window_.Close(); });
}

}  // namespace quarnel
