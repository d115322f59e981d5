// OptionForm on Qt: a fixed-size tool dialog with only a close button and no icon, built from its
// control table, centred on the screen of the main window that owns it and kept out of the task
// bar. Each frame is a QGroupBox
// with its option buttons as children, which makes the buttons of one frame one radio group.
#pragma once

#include <QDialog>
#include <array>

#include "ui/ControlTable.hpp"
#include "ui/MainFormBehaviour.hpp"
#include "ui/OptionFormBehaviour.hpp"
#include "ui/OptionFormTable.hpp"

class QGroupBox;
class QRadioButton;

namespace quarnel {

class OptionForm final : public QDialog, public CaptionedWindow, public OptionDialog {
public:
    // clicks and owner outlive the dialog; the dialog lives for one opening.
    OptionForm(OptionClickHandler& clicks, QWidget& owner);

    QGroupBox& Frame1(int index) { return *frame1_.at(index); }
    QRadioButton& Opt(int index) { return *opt_.at(index); }
    double ScaleFactor() const { return scaleFactor_; }

    void SetCaption(std::string_view caption) override;
    bool IsSelected(int index) const override;
    void SetSelected(int index, bool selected) override;
    void ShowModal() override { exec(); }

private:
    QWidget* CreateControl(const ControlRow& control);

    OptionClickHandler& clicks_;
    double scaleFactor_ = 1.0;
    std::array<QGroupBox*, OptionFormTable::cFrameCount> frame1_{};
    std::array<QRadioButton*, cOptionCount> opt_{};
};

// Makes a fresh OptionForm for each opening.
class OptionFormMaker final : public OptionDialogMaker {
public:
    // Both outlive the maker.
    OptionFormMaker(OptionClickHandler& clicks, QWidget& owner) : clicks_(clicks), owner_(owner) {}
    std::unique_ptr<OptionDialog> MakeOptionDialog() override {
        return std::make_unique<OptionForm>(clicks_, owner_);
    }

private:
    OptionClickHandler& clicks_;
    QWidget& owner_;
};

}  // namespace quarnel
