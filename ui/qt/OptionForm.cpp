#include "OptionForm.hpp"

#include <QGroupBox>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>

#include "FontWidth.hpp"
#include "TableControls.hpp"
#include "ui/Geometry.hpp"

namespace quarnel {
namespace {

// Qt falls back to the application's icon for a window without one; a clear icon shows none.
QIcon NoIcon() {
    QPixmap clear(16, 16);
    clear.fill(Qt::transparent);
    return QIcon(clear);
}

}  // namespace

OptionForm::OptionForm(OptionClickHandler& clicks, QWidget& owner)
    : QDialog(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      clicks_(clicks),
      scaleFactor_(FontScaleFactor(AverageCharWidth(font()))) {
    const auto& window = OptionFormTable::cWindow;
    QRect client = PixelRect(0, 0, window.clientWidth, window.clientHeight, scaleFactor_);
    client.moveCenter(owner.screen()->availableGeometry().center());
    setFixedSize(client.size());
    setGeometry(client);
    setWindowIcon(NoIcon());
    BuildControlsFromTable(OptionFormTable::cControls, scaleFactor_,
                           [this](const ControlRow& control) { return CreateControl(control); });
    // Owned by the main window, the dialog stays with it: a window manager that lets the modal
    // dialog be minimised brings it back when the blocked main window is activated.
    if (QWindow* ownerWindow = owner.windowHandle()) {
        winId();
        windowHandle()->setTransientParent(ownerWindow);
    }
    OptionFormLoad(*this);
}

QWidget* OptionForm::CreateControl(const ControlRow& control) {
    QWidget* container = ContainerOf(control, *this);
    switch (control.kind) {
        case ControlKind::Frame:
            frame1_.at(control.index) = new QGroupBox(FromUtf8(control.caption), container);
            return frame1_.at(control.index);
        case ControlKind::OptionButton: {
            auto* button = new QRadioButton(FromUtf8(control.caption), container);
            const int index = control.index;
            // toggled, not clicked: a button raises its click when it becomes selected, by the
            // user or by SyncOptionButtons, as the option routines expect
            connect(button, &QRadioButton::toggled, this, [this, index](bool selected) {
                if (selected) clicks_.OnOptClick(index, *this);
            });
            opt_.at(index) = button;
            return button;
        }
        case ControlKind::CommandButton:
        case ControlKind::Image:
            break;
    }
    return nullptr;
}

void OptionForm::SetCaption(std::string_view caption) { setWindowTitle(FromUtf8(caption)); }

bool OptionForm::IsSelected(int index) const { return opt_.at(index)->isChecked(); }

void OptionForm::SetSelected(int index, bool selected) { opt_.at(index)->setChecked(selected); }

}  // namespace quarnel
