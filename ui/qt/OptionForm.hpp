// OptionForm on Qt: a fixed-size tool dialog with only a close button and no icon, built from its
// control table, centred on the screen and kept out of the task bar. Each frame is a QGroupBox
// with its option buttons as children, which makes the buttons of one frame one radio group.
#pragma once

#include <QDialog>
#include <array>

#include "platform/qt/QtMsgBox.hpp"
#include "ui/ControlTable.hpp"
#include "ui/OptionFormBehaviour.hpp"
#include "ui/OptionFormTable.hpp"

class QGroupBox;
class QRadioButton;

namespace quarnel {

class OptionForm final : public QDialog, public OptionFormView, public OptionButtons {
public:
    // clicks outlives the dialog; the dialog lives for one opening.
    explicit OptionForm(OptionClicks& clicks);

    QGroupBox& Frame1(int index) { return *frame1_.at(index); }
    QRadioButton& Opt(int index) { return *opt_.at(index); }
    double ScaleFactor() const { return scaleFactor_; }

    void SetCaption(std::string_view caption) override;
    bool IsSelected(int index) const override;
    void SetSelected(int index, bool selected) override;

private:
    QWidget* CreateControl(const ControlRow& control);

    OptionClicks& clicks_;
    QtMsgBox msgBox_{this};
    double scaleFactor_ = 1.0;
    std::array<QGroupBox*, OptionFormTable::cFrameCount> frame1_{};
    std::array<QRadioButton*, cOptionCount> opt_{};
};

}  // namespace quarnel
