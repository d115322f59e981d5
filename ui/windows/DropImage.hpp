// Image1: the picture that takes drops, a child window of a class of its own (WindowFromPoint
// passes over static controls, so Explorer would not find a static one as drop target). It
// shows the folder icon, framed while a drop is handled, and runs a drop from a posted message
// once IDropTarget::Drop has returned. While a drop is being handled, including the moment
// before the posted message runs, it refuses further drops.
#pragma once

#include <functional>

#include "OleDropTarget.hpp"
#include "ScratchWindow.hpp"
#include "WinHandles.hpp"
#include "core/DropHandler.hpp"

namespace quarnel {

class DropImage final : public ScratchWindow, public DropTargetBorder, private DropSink {
public:
    using DropAction = std::function<void(const DropData&)>;

    // A child of parent, registered for OLE drops (OleInitialize must have run).
    DropImage(NativeWindow parent, int id);
    ~DropImage();

    void SetDropAction(DropAction action) { dropAction_ = std::move(action); }
    // Runs after each drop, once the drop target takes drops again.
    void SetDropFinished(std::function<void()> finished) { dropFinished_ = std::move(finished); }

    bool IsHandlingDrop() const override { return handlingDrop_; }
    void SetBorderStyle(int style) override;
    int BorderStyle() const { return borderStyle_; }

    // The drop target OLE calls; tests call it directly.
    IDropTarget& OleTarget() const { return *dropTarget_; }

private:
    void TakeDrop(DropData data) override;
    std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void OnPaint();
    void RunDrop();
    void Revoke();

    DropTargetPtr dropTarget_;
    bool registered_ = false;
    UniqueIcon icon_;
    int iconSize_ = 0;
    int borderStyle_ = 0;
    bool handlingDrop_ = false;
    DropData pendingDrop_;
    DropAction dropAction_;
    std::function<void()> dropFinished_;
};

}  // namespace quarnel
