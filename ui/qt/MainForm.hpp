// MainForm on Qt: a fixed-size window with only a close button, built from its control table.
#pragma once

#include <QWidget>
#include <array>

#include "DropImage.hpp"
#include "ui/ControlTable.hpp"
#include "ui/MainFormBehaviour.hpp"
#include "ui/OptionFormBehaviour.hpp"

class QGroupBox;
class QPushButton;

namespace quarnel {

class MainForm final : public QWidget, public MainFormView, public MainFormCommands {
public:
    MainForm();

    DropImage& Image1() { return *image1_; }
    QGroupBox& DropFrame() { return *dropFrame_; }
    QPushButton& Btn(int index) { return *btn_.at(index); }
    double ScaleFactor() const { return scaleFactor_; }

    void SetCaption(std::string_view caption) override;

    // The message box and the option clicks the buttons use; set by the program before the
    // window is shown, and alive as long as the window.
    void SetButtonServices(MsgBox& msgBox, OptionClicks& optionClicks);

    void OpenOptions() override;
    void ShowHelp() override;
    void ShowInfo() override;

private:
    QWidget* CreateControl(const ControlRow& control);

    double scaleFactor_ = 1.0;
    QGroupBox* dropFrame_ = nullptr;
    DropImage* image1_ = nullptr;
    std::array<QPushButton*, 3> btn_{};
    MsgBox* msgBox_ = nullptr;
    OptionClicks* optionClicks_ = nullptr;
};

}  // namespace quarnel
