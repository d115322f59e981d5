// MainForm on Qt: a fixed-size window with only a close button, built from its control table.
// Its events go to the drop gate and the buttons' behaviour; it draws what the gate asks for.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "DropImage.hpp"
#include "ProgressForm.hpp"
#include "core/DropGate.hpp"
#include "ui/ControlTable.hpp"
#include "ui/MainFormBehaviour.hpp"
#include "ui/MainFormTable.hpp"

class QGroupBox;
class QPushButton;

namespace quarnel {

class MainForm final : public QWidget, public CaptionedWindow, public DropWindow {
public:
    MainForm();

    DropImage& Image1() { return *image1_; }
    QGroupBox& DropFrame() { return *dropFrame_; }
    QPushButton& Btn(int index) { return *btn_.at(index); }
    double ScaleFactor() const { return scaleFactor_; }

    // What the window's events call; both outlive the window.
    void Connect(DropGate& dropGate, MainFormButtons& buttons);
    // Runs closed from the event loop once the window has closed for good; the program decides
    // then whether it ends.
    void WhenClosed(std::function<void()> closed) { closed_ = std::move(closed); }

    void SetCaption(std::string_view caption) override;

    void Post(std::chrono::milliseconds delay, std::function<void()> task) override;
    void ShowWaitCursor(bool waiting) override;
    void SetVisible(bool visible) override { QWidget::setVisible(visible); }
    void Close() override;
    void PostFromAnyThread(std::function<void()> task) override;
    void ShowProgress(std::shared_ptr<const DropProgress> progress,
                      std::function<void()> stop) override;
    void HideProgress() override;
    // The progress window while it shows, else nullptr.
    ProgressForm* Progress() const { return progress_.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* CreateControl(const ControlRow& control);

    double scaleFactor_ = 1.0;
    QGroupBox* dropFrame_ = nullptr;
    DropImage* image1_ = nullptr;
    std::array<QPushButton*, MainFormTable::cBtnCount> btn_{};
    DropGate* dropGate_ = nullptr;
    MainFormButtons* buttons_ = nullptr;
    std::function<void()> closed_;
    std::unique_ptr<ProgressForm> progress_;  // no parent: it shows without the main window
};

}  // namespace quarnel
