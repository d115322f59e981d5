#include "MainFormBehaviour.hpp"

#include "HelpMessage.hpp"
#include "InfoMessage.hpp"
#include "MainFormTable.hpp"
#include "VersionLine.hpp"
#include "core/OptionStorage.hpp"
#include "core/ProgramTitle.hpp"

namespace quarnel {

void MainFormLoad(CaptionedWindow& mainForm, SettingsStore& store, WindowPlacement& placement) {
    mainForm.SetCaption(ProgramTitle);
    LoadOptions(store, placement);
}

void MainFormButtons::BtnClick(int index) {
    switch (index) {
        case MainFormTable::cOptionenButton:
            OpenOptions();
            break;
        case MainFormTable::cHilfeButton:
            ShowHelp(msgBox_, VersionLine(version_));
            break;
        case MainFormTable::cInfoButton:
            ShowInfoBox(msgBox_, ProgramTitle, VersionLine(version_));
            break;
        default:
            break;
    }
}

void MainFormButtons::OpenOptions() {
    const std::unique_ptr<OptionDialog> dialog = optionDialogs_.MakeOptionDialog();
    SyncOptionButtons(*dialog);
    dialog->ShowModal();
}

}  // namespace quarnel
