#include "MainFormBehaviour.hpp"

#include "MainFormTable.hpp"
#include "core/AAB.hpp"
#include "core/ProgramTitle.hpp"

namespace quarnel {

void MainFormLoad(MainFormView& view, SettingsStore& store, AAJ& placement) {
    view.SetCaption(ProgramTitle);
    LoadOptions(store, placement);
}

void BtnClick(int index, MainFormCommands& commands) {
    switch (index) {
        case MainFormTable::cOptionenButton:
            commands.OpenOptions();
            break;
        case MainFormTable::cHilfeButton:
            commands.ShowHelp();
            break;
        case MainFormTable::cInfoButton:
            commands.ShowInfo();
            break;
        default:
            break;
    }
}

}  // namespace quarnel
