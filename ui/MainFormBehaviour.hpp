// What MainForm does, apart from how it is drawn: its load, and its three buttons, which open
// the options dialog and show the help and the info message.
#pragma once

#include <memory>

#include "CaptionedWindow.hpp"
#include "core/OptionSync.hpp"
#include "platform/MsgBox.hpp"
#include "platform/ProgramVersion.hpp"
#include "platform/SettingsStore.hpp"
#include "platform/WindowPlacement.hpp"

namespace quarnel {

// Runs once before the window is shown: caption, then the stored options.
void MainFormLoad(CaptionedWindow& mainForm, SettingsStore& store, WindowPlacement& placement);

// OptionForm, made afresh for each opening and discarded when it closes.
class OptionDialog : public OptionButtons {
public:
    // Shows the dialog and returns once the user has closed it; the main window takes no input
    // meanwhile.
    virtual void ShowModal() = 0;
};

class OptionDialogMaker {
public:
    virtual ~OptionDialogMaker() = default;
    virtual std::unique_ptr<OptionDialog> MakeOptionDialog() = 0;
};

// Btn(0) to Btn(2): the options dialog, the help and the info message, both headed by the
// version line of the running program.
class MainFormButtons {
public:
    MainFormButtons(OptionDialogMaker& optionDialogs, MsgBox& msgBox, ProgramVersion version)
        : optionDialogs_(optionDialogs), msgBox_(msgBox), version_(version) {}

    void BtnClick(int index);

private:
    void OpenOptions();

    OptionDialogMaker& optionDialogs_;
    MsgBox& msgBox_;
    ProgramVersion version_;
};

}  // namespace quarnel
