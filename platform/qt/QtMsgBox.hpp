// Message boxes with QMessageBox, modal to the dialog in front (the options dialog) or else to
// the window they are given.
#pragma once

#include "platform/MsgBox.hpp"

class QWidget;

namespace quarnel {

class QtMsgBox final : public MsgBox {
public:
    explicit QtMsgBox(QWidget* parent) : parent_(parent) {}
    void Show(std::string_view prompt, int buttonsAndIcon, std::string_view title) override;

private:
    QWidget* parent_;
};

}  // namespace quarnel
