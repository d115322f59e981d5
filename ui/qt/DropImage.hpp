// Image1: the picture that takes drops. It turns the toolkit's drag events into calls of the
// drop gate, with the names copied out of the drop's data, and draws the frame the drop
// handler asks for.
#pragma once

#include <QLabel>

#include "core/DropGate.hpp"
#include "core/DropHandler.hpp"

namespace quarnel {

class DropImage final : public QLabel, public DropTargetBorder {
public:
    explicit DropImage(QWidget* parent);

    // The gate outlives the picture; until it is set, every drop is refused.
    void SetDropGate(DropGate& gate) { gate_ = &gate; }
    void SetBorderStyle(int style) override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool AcceptsDrops() const { return gate_ != nullptr && gate_->AcceptsDrops(); }

    DropGate* gate_ = nullptr;
};

}  // namespace quarnel
