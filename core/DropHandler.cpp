#include "DropHandler.hpp"

#include "AAI.hpp"
#include "DropMessages.hpp"
#include "Module1.hpp"
#include "NameCheck.hpp"
#include "OptionIndex.hpp"
#include "ProgramTitle.hpp"

namespace quarnel {
namespace {

// Keeps the drop target framed for as long as a drop is handled, on every way out.
class FramedWhileHandling {
public:
    explicit FramedWhileHandling(DropTargetBorder& border) : border_(border) {
        border_.SetBorderStyle(1);
    }
    ~FramedWhileHandling() { border_.SetBorderStyle(0); }
    FramedWhileHandling(const FramedWhileHandling&) = delete;
    FramedWhileHandling& operator=(const FramedWhileHandling&) = delete;

private:
    DropTargetBorder& border_;
};

}  // namespace

void DropHandler::HandleDrop(const DropData& data) {
    if (!data.holdsFileList) {
        ShowMessage(cMsgNoFileList, cMsgInformation);
        return;
    }
    ActiveList = IsOn(cOptSortAlphabetically) ? 1 : 0;
    FramedWhileHandling framed(services_.image1);

    for (const std::string& PfadDateiName : data.names) HandleDroppedName(PfadDateiName);

    EntryList& list = Liste[ActiveList];
    const std::string text = list.OutputText(services_.textRules);
    services_.clipboard.clear();
    services_.clipboard.setText(text);
    list.clear();
    services_.beep.beep();

    if (!unreadableDirs_.empty()) {
        ShowMessage(UnreadableFoldersMessage(unreadableDirs_), cMsgInformation);
        unreadableDirs_.clear();
    }
}

void DropHandler::HandleDroppedName(const std::string& PfadDateiName) {
    if (HasInvalidCharacters(PfadDateiName)) {
        ShowMessage(InvalidNameMessage(PfadDateiName), cMsgOkOnly);
        return;
    }
    const auto attributes = services_.files.attributes(PfadDateiName);
    if (!attributes) {
        ShowMessage(UnreachableNameMessage(PfadDateiName), cMsgOkOnly);
        return;
    }
    if (*attributes & cDirectoryAttribute) {
        if (!IsOn(cOptFileNamesOnly)) AddToList(PfadDateiName);
        if (IsOn(cOptExpandFolders)) ExpandDroppedFolder(PfadDateiName);
    } else if (!IsOn(cOptFolderNamesOnly)) {
        AddToList(PfadDateiName);
    }
}

void DropHandler::ExpandDroppedFolder(const std::string& folder) {
    ExpandDirectory(folder, -1, {services_.files, services_.yield}, unreadableDirs_);
    const auto addEach = [this](std::string_view path) { AddToList(path); };
    if (!IsOn(cOptFolderNamesOnly)) FoundFiles.ForEachFound(addEach);
    if (!IsOn(cOptFileNamesOnly)) FoundDirs.ForEachFound(addEach);
}

void DropHandler::AddToList(std::string_view EntryStr) {
    std::string_view s = EntryStr;
    if (IsOn(cOptWithoutPath)) {
        const auto k = s.rfind(services_.files.pathSeparator());
        if (k != std::string_view::npos) s.remove_prefix(k + 1);
    }
    if (IsOn(cOptUpperCase)) {
        Liste[ActiveList].add(services_.textRules.toUpper(s));
    } else if (IsOn(cOptLowerCase)) {
        Liste[ActiveList].add(services_.textRules.toLower(s));
    } else {
        Liste[ActiveList].add(s);
    }
}

void DropHandler::ShowMessage(std::string_view prompt, int buttonsAndIcon) {
    services_.msgBox.show(prompt, buttonsAndIcon, ProgramTitle);
}

}  // namespace quarnel
