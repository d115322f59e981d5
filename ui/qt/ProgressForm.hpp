// The progress window on Qt: a small window of its own, not a child of the main window, so that
// it shows also while the main window is out of sight. Four times a second it reads how far the
// drop has come; "Abbrechen", Escape and its close button call the stop it is given, and it
// stays until its owner takes it down.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "core/DropProgress.hpp"

class QLabel;
class QPushButton;

namespace quarnel {

class ProgressForm final : public QWidget {
public:
    // Centred on placeAt's screen, where the small main window at its place covers no part of
    // it, and kept above placeAt where that window shows.
    ProgressForm(std::shared_ptr<const DropProgress> progress, std::function<void()> stop,
                 QWidget& placeAt);

    QLabel& Count() { return *count_; }
    QLabel& Folder() { return *folder_; }
    QPushButton& CancelButton() { return *cancel_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* AddLabel(std::string_view text, int left, int top, int width, int height);
    void Update();

    std::shared_ptr<const DropProgress> progress_;
    std::function<void()> stop_;
    double scaleFactor_;
    QLabel* count_ = nullptr;
    QLabel* folder_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace quarnel
