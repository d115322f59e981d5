#include "DropHandler.hpp"

#include "DroppedNameKinds.hpp"
#include "FolderWalk.hpp"
#include "LocationName.hpp"
#include "Messages.hpp"
#include "NameCheck.hpp"
#include "OptionIndex.hpp"
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

// A dropped name as the drop reads it and, where that differs, as the list shows it (a network
// location); or the message it gets instead.
struct DroppedName {
    std::optional<std::string> read;
    std::string shown;
    std::string refusal;
};

DroppedName Checked(const std::string& name) {
    if (!IsNetworkLocation(name)) {
        if (HasInvalidCharacters(name)) return {std::nullopt, {}, InvalidNameMessage(name)};
        return {name, {}, {}};
    }
    std::string shown = LocationName(name);
    if (HasInvalidCharacters(shown)) return {std::nullopt, shown, InvalidNameMessage(shown)};
    return {name, std::move(shown), {}};
}

}  // namespace

bool DropHandler::HandleDrop(const DropData& data, DropProgress& progress) {
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

    std::vector<DroppedName> dropped;
    dropped.reserve(data.names.size());
    std::vector<std::string> readable;
    for (const std::string& name : data.names) {
        dropped.push_back(Checked(name));
        if (dropped.back().read) readable.push_back(*dropped.back().read);
    }
    DroppedNameKinds kinds(std::move(readable), services_.files, services_.networkLocations,
                           progress, services_.startThread);
    for (const DroppedName& name : dropped) {
        if (!name.read) {
            ShowMessage(name.refusal, cMsgOkOnly);
            continue;
        }
        const DroppedNameKind read = kinds.Next();
        if (!read.path) {
            ShowMessage(UnmountedLocationMessage(name.shown), cMsgOkOnly);
            continue;
        }
        HandleDroppedName(*read.path, name.shown.empty() ? *read.path : name.shown, read.kind,
                          progress);
    }

    EntryList& list = Liste[ActiveList];
    // An empty text would only throw away what the user copied before.
    const bool empty = list.Count() == 0;
    if (!empty) {
        OutputText text = list.TakeText();
        progress.ThrowIfStopped();
        const bool copied = services_.clipboard.SetText(text);
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

void DropHandler::HandleDroppedName(const std::string& PfadDateiName, const std::string& shownName,
                                    std::optional<NameKind> kind, DropProgress& progress) {
    progress.AddNamesFound(1);
    if (!kind) {
        ShowMessage(UnreachableNameMessage(shownName), cMsgOkOnly);
        return;
    }
    if (*kind == NameKind::Folder) {
        if (!IsOn(cOptFileNamesOnly)) AddToList(shownName);
        if (IsOn(cOptExpandFolders)) ExpandDroppedFolder(PfadDateiName, shownName, progress);
    } else if (!IsOn(cOptFolderNamesOnly)) {
        AddToList(shownName);
    }
}

void DropHandler::ExpandDroppedFolder(const std::string& folder, const std::string& shownName,
                                      DropProgress& progress) {
    ReplacedFileNames.Clear();
    ReplacedDirNames.Clear();
    ExpandDirectory(folder, -1, {services_.files, progress, services_.startThread}, unreadableDirs_,
                    folder == shownName ? std::string_view() : std::string_view(shownName));
    // A million entries take a while: a stop ends it in the middle.
    const auto addEach = [&](std::string_view path) {
        AddToList(path);
        progress.ThrowIfStopped();
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
