// The OLE drop target of Image1. It answers "copy" to any data, so that foreign data reaches the
// drop handler and gets its message, and "no drop" while a drop is being handled. Drop only
// copies the names out and hands them to the sink, which must run the drop later, after Drop
// has returned: the drag source waits for Drop.
#pragma once

#include <memory>

#include "platform/DropData.hpp"

struct IDropTarget;

namespace quarnel {

class DropSink {
public:
    virtual ~DropSink() = default;
    virtual bool IsHandlingDrop() const = 0;
    // Called inside IDropTarget::Drop with the copied names; from then on IsHandlingDrop is
    // expected to answer true until the drop has run.
    virtual void TakeDrop(DropData data) = 0;
};

// One reference to the COM object.
struct DropTargetRelease {
    void operator()(IDropTarget* target) const;
};
using DropTargetPtr = std::unique_ptr<IDropTarget, DropTargetRelease>;

// A new drop target that reports to sink; the caller holds the first reference, OLE takes its
// own with RegisterDragDrop. Detach before the sink goes away: a reference OLE still holds then
// answers "no drop".
DropTargetPtr MakeOleDropTarget(DropSink& sink);
void DetachOleDropTarget(IDropTarget& target);

}  // namespace quarnel
