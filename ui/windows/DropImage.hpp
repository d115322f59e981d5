// Image1: the picture that takes drops, a child window of a class of its own (WindowFromPoint
// passes over static controls, so Explorer would not find a static one as drop target). It
// shows the folder icon, centred at the largest of its sizes that fits, framed while a drop is
// handled, and hands OLE drops to the drop gate.
#pragma once

#include "OleDropTarget.hpp"
#include "WinHandles.hpp"
#include "WindowObject.hpp"
#include "core/DropGate.hpp"
#include "core/DropHandler.hpp"

namespace quarnel {

class DropImage final : public WindowObject, public DropTargetBorder {
public:
    // Throws StartupFailure when the window cannot be made. calls outlives the picture.
    DropImage(StartupCalls& calls, NativeWindow parent, int id);
    ~DropImage();

    // Registers the picture for OLE drops, which go to gate (OleInitialize must have run), or
    // throws StartupFailure. The gate outlives the picture.
    void SetDropGate(DropGate& gate);
    void SetBorderStyle(int style) override;

    // The drop target OLE calls, once the gate is set; tests call it directly.
    IDropTarget& OleTarget() const { return *dropTarget_; }
    // The size the folder icon was last drawn at, in pixels; 0 before the first paint.
    int PictureSize() const { return pictureSize_; }

private:
    std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void OnPaint();
    void Revoke();

    StartupCalls& calls_;
    DropTargetPtr dropTarget_;
    bool registered_ = false;
    UniqueIcon icon_;
    int placeSize_ = 0;    // the client area's smaller side the icon was chosen for
    int pictureSize_ = 0;  // the size of the icon drawn
    int borderStyle_ = 0;
};

}  // namespace quarnel
