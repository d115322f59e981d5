// What MainForm does, apart from how it is drawn: its load and the dispatch of its buttons.
#pragma once

#include <string_view>

#include "platform/AAJ.hpp"
#include "platform/SettingsStore.hpp"

namespace quarnel {

class MainFormView {
public:
    virtual ~MainFormView() = default;
    virtual void SetCaption(std::string_view caption) = 0;
};

class MainFormCommands {
public:
    virtual ~MainFormCommands() = default;
    virtual void OpenOptions() = 0;
    virtual void ShowHelp() = 0;
    virtual void ShowInfo() = 0;
};

// Runs once before the window is shown: caption, then the stored options.
void MainFormLoad(MainFormView& view, SettingsStore& store, AAJ& placement);

void BtnClick(int index, MainFormCommands& commands);

}  // namespace quarnel
