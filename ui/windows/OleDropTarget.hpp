// The OLE drop target of Image1. It answers "copy" to any data, so that foreign data reaches the
// drop handler and gets its message, and "no drop" while the drop gate refuses drops. Drop only
// copies the names out and hands them to the gate, which runs the drop after Drop has returned:
// the drag source waits for Drop.
#pragma once

#include <memory>

#include "core/DropGate.hpp"

struct IDropTarget;

namespace quarnel {

// One reference to the COM object.
struct DropTargetRelease {
    void operator()(IDropTarget* target) const;
};
using DropTargetPtr = std::unique_ptr<IDropTarget, DropTargetRelease>;

// A new drop target that reports to gate; the caller holds the first reference, OLE takes its
// own with RegisterDragDrop. Detach before the gate goes away: a reference OLE still holds then
// answers "no drop".
DropTargetPtr MakeOleDropTarget(DropGate& gate);
void DetachOleDropTarget(IDropTarget& target);

}  // namespace quarnel
