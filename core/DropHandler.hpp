// The drop handler: turns the names of one drop into the text on the clipboard, shaped by the
// option flags, with dropped folders expanded when the option says so. It runs on a thread of its
// own while the window stays with the user, and reads the flags as it goes, so an option changed
// meanwhile applies to the entries added after the change. It asks the file system nothing
// itself: its threads do, so a drop that is stopped ends at once, whatever the storage does.
// Whatever fails half-way, a stop, and a list that comes out empty leave the clipboard as it
// was; the lists are empty for the next drop.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DropProgress.hpp"
#include "EntryList.hpp"
#include "ReplacedNames.hpp"
#include "ThreadStart.hpp"
#include "platform/Beep.hpp"
#include "platform/Clipboard.hpp"
#include "platform/DropData.hpp"
#include "platform/FileSystem.hpp"
#include "platform/MsgBox.hpp"
#include "platform/NetworkLocations.hpp"
#include "platform/TextRules.hpp"

namespace quarnel {

// The drop target's border: 0 none, 1 a thin frame while a drop is handled.
class DropTargetBorder {
public:
    virtual ~DropTargetBorder() = default;
    virtual void SetBorderStyle(int style) = 0;
};

struct DropServices {
    FileSystem& files;
    Clipboard& clipboard;
    MsgBox& msgBox;
    Beep& beep;
    const TextRules& textRules;
    DropTargetBorder& image1;
    // Where network locations are read, asked on a thread a stopped drop may leave behind;
    // without it each gets the message that it cannot be.
    NetworkLocations* networkLocations = nullptr;
    ThreadStarter startThread = StartThread;
};

class DropHandler {
public:
    explicit DropHandler(DropServices services) : services_(services) {}

    // False when the clipboard was left alone: the data held no file list, or the list came out
    // empty (every name skipped, an empty folder, options that keep nothing). Throws DropStopped
    // once progress is stopped.
    bool HandleDrop(const DropData& data, DropProgress& progress);

    // Shapes one entry by the path and case options and appends it to Liste(ActiveList).
    void AddToList(std::string_view EntryStr);

private:
    // PfadDateiName is read, shownName is listed: the same but for a network location.
    void HandleDroppedName(const std::string& PfadDateiName, const std::string& shownName,
                           std::optional<NameKind> kind, DropProgress& progress);
    void ExpandDroppedFolder(const std::string& folder, const std::string& shownName,
                             DropProgress& progress);
    void ShowMessage(std::string_view prompt, int buttonsAndIcon);

    DropServices services_;
    std::array<EntryList, 2> Liste{EntryList{false, services_.textRules},
                                   EntryList{true, services_.textRules}};
    std::vector<std::string> unreadableDirs_;
    // Found names written with "?" for what is not text, in the lines of this drop.
    ReplacedNames writtenWithQuestionMarks_;
};

}  // namespace quarnel
