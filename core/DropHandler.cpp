#include "DropHandler.hpp"

#include "FolderWalk.hpp"
#include "Messages.hpp"
#include "NameCheck.hpp"
#include "OptionIndex.hpp"
#include "PacedYield.hpp"
#include "ProgramState.hpp"
#include "ProgramTitle.hpp"
#include "ReplacedNames.hpp"

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

bool DropHandler::HandleDrop(const DropData& data) {
    if (!data.holdsFileList) {
        ShowMessage(cMsgNoFileList, cMsgInformation);
        return false;
    }
    ActiveList = IsOn(cOptSortAlphabetically) ? 1 : 0;
    FramedWhileHandling framed(services_.image1);
    // A drop that fails half-way leaves nothing behind for the next one, nor keeps its memory.
    struct ClearedOnEveryWayOut {
        DropHandler& handler;
        ~ClearedOnEveryWayOut() {
            for (EntryList& list : handler.Liste) list.Clear();
            handler.unreadableDirs_.clear();
            handler.writtenWithQuestionMarks_.Clear();
            ReplacedFileNames.Clear();
            ReplacedDirNames.Clear();
            FoundFiles.Reset();
            FoundDirs.Reset();
            FoundFolders.Clear();
        }
    } cleared{*this};

    for (const std::string& PfadDateiName : data.names) HandleDroppedName(PfadDateiName);

    EntryList& list = Liste[ActiveList];
    // An empty text would only throw away what the user copied before.
    const bool empty = list.Count() == 0;
    if (!empty) {
        PacedYield pace(services_.yield);
        const bool copied = services_.clipboard.SetText(list.TakeText(pace));
        if (!copied) ShowMessage(cMsgClipboardNotSet, cMsgInformation);
        services_.beep.Sound();
    }

    if (!unreadableDirs_.empty()) {
        ShowMessage(UnreadableFoldersMessage(unreadableDirs_), cMsgInformation);
    }
    if (empty) {
        ShowMessage(cMsgListEmpty, cMsgInformation);
        return false;
    }
    if (writtenWithQuestionMarks_.Count() != 0) {
        ShowMessage(ReplacedNamesMessage(writtenWithQuestionMarks_.Count(),
                                         writtenWithQuestionMarks_.FirstFew()),
                    cMsgInformation);
    }
    return true;
}

void DropHandler::HandleDroppedName(const std::string& PfadDateiName) {
    if (HasInvalidCharacters(PfadDateiName)) {
        ShowMessage(InvalidNameMessage(PfadDateiName), cMsgOkOnly);
        return;
    }
    const auto kind = services_.files.Attributes(PfadDateiName);
    if (!kind) {
        ShowMessage(UnreachableNameMessage(PfadDateiName), cMsgOkOnly);
        return;
    }
    if (*kind == NameKind::Folder) {
        if (!IsOn(cOptFileNamesOnly)) AddToList(PfadDateiName);
        if (IsOn(cOptExpandFolders)) ExpandDroppedFolder(PfadDateiName);
    } else if (!IsOn(cOptFolderNamesOnly)) {
        AddToList(PfadDateiName);
    }
}

void DropHandler::ExpandDroppedFolder(const std::string& folder) {
    ReplacedFileNames.Clear();
    ReplacedDirNames.Clear();
    DropProgress progress;
    ExpandDirectory(folder, -1, {services_.files, progress}, unreadableDirs_);
    // A million entries take a while: the event loop runs now and then meanwhile.
    PacedYield pace(services_.yield);
    const auto addEach = [&](std::string_view path) {
        AddToList(path);
        pace.Step();
    };
    // Cutting the path off a found entry leaves its name, which holds no separator: the names
    // alone go to AddToList then, so a deep tree never builds its long paths for nothing.
    const auto addAll = [&](FoundPaths& found) {
        if (IsOn(cOptWithoutPath)) {
            found.TakeEachFoundName(addEach);
        } else {
            found.TakeEachFound(addEach);
        }
    };
    if (!IsOn(cOptFolderNamesOnly)) {
        addAll(FoundFiles);
        writtenWithQuestionMarks_.Add(ReplacedFileNames);
    }
    if (!IsOn(cOptFileNamesOnly)) addAll(FoundDirs);
    // A folder's name is written in its own line, and with full paths in the lines beneath it.
    if (!IsOn(cOptFileNamesOnly) || !IsOn(cOptWithoutPath)) {
        writtenWithQuestionMarks_.Add(ReplacedDirNames);
    }
    // What the walk found is in the list now; the sort and the text get its memory.
    FoundFiles.Reset();
    FoundDirs.Reset();
    FoundFolders.Clear();
}

void DropHandler::AddToList(std::string_view EntryStr) {
    std::string_view s = EntryStr;
    if (IsOn(cOptWithoutPath)) {
        const auto k = s.rfind(services_.files.PathSeparator());
        if (k != std::string_view::npos) s.remove_prefix(k + 1);
    }
    if (IsOn(cOptUpperCase)) {
        Liste[ActiveList].Add(services_.textRules.ToUpper(s));
    } else if (IsOn(cOptLowerCase)) {
        Liste[ActiveList].Add(services_.textRules.ToLower(s));
    } else {
        Liste[ActiveList].Add(s);
    }
}

void DropHandler::ShowMessage(std::string_view prompt, int buttonsAndIcon) {
    services_.msgBox.Show(prompt, buttonsAndIcon, ProgramTitle);
}

}  // namespace quarnel
