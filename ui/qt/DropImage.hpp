// Image1: the picture that takes drops. It only copies the dropped names out of the toolkit's
// data and hands them on once the drop has returned, so the drag source never waits on message
// boxes or long work. While a drop is being handled it refuses further drops.
#pragma once

#include <QLabel>
#include <functional>

#include "core/DropHandler.hpp"
#include "platform/DropData.hpp"

namespace quarnel {

class DropImage final : public QLabel, public DropTargetBorder {
public:
    using DropAction = std::function<void(const DropData&)>;

    explicit DropImage(QWidget* parent);

    void SetDropAction(DropAction action) { dropAction_ = std::move(action); }
    bool IsHandlingDrop() const { return handlingDrop_; }
    void SetBorderStyle(int style) override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void RunDrop(const DropData& data);

    DropAction dropAction_;
    bool handlingDrop_ = false;
};

}  // namespace quarnel
