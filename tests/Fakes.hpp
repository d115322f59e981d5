// In-memory stand-ins for the platform services, recording what the core asked of them.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <tuple>
#include <vector>

#include "core/DropGate.hpp"
#include "core/DropHandler.hpp"
#include "core/OptionSync.hpp"
#include "platform/SettingsStore.hpp"
#include "platform/WindowPlacement.hpp"

namespace quarnel::testing {

// Files and folders by full path; a folder lists its entries in the order they were added.
class FakeFileSystem final : public FileSystem {
public:
    explicit FakeFileSystem(char separator = '\\') : separator_(separator) {}
    void AddFile(const std::string& path) { Add(path, NameKind::File, EntryKind::File); }
    void AddFolder(const std::string& path) { Add(path, NameKind::Folder, EntryKind::Folder); }
    void AddFolderLink(const std::string& path) {
        Add(path, NameKind::Folder, EntryKind::FolderLink);
    }
    void MakeUnlistable(const std::string& dir) { unlistable_.insert(dir); }
    // An entry its folder lists without being able to say what it is.
    void AddUnreadableEntry(const std::string& path) {
        Add(path, NameKind::File, EntryKind::Unreadable);
    }

    char PathSeparator() const override { return separator_; }
    std::optional<NameKind> Attributes(const std::string& path) override {
        queried.push_back(path);
        if (whileAsked) whileAsked(path);
        if (path == throwOnAttributesOf) throw std::runtime_error("Attributes failed");
        const auto found = attributes_.find(path);
        if (found == attributes_.end()) return std::nullopt;
        return found->second;
    }
    ListedFolder ListDroppedFolder(const std::string& path, FolderVisitor& visitor) override {
        const bool endsInSeparator = !path.empty() && path.back() == separator_;
        return List(endsInSeparator ? path : path + separator_, true, visitor);
    }
    ListedFolder ListSubfolder(const std::shared_ptr<FolderHandle>& parent, std::string_view name,
                               FolderVisitor& visitor) override {
        const auto& folder = static_cast<const FakeFolder&>(*parent);
        return List(folder.dir + std::string(name) + separator_, false, visitor);
    }

    // A copy for the walk's second thread, when a test allows one.
    std::unique_ptr<FileSystem> ForSecondThread() override {
        if (!allowSecondThread) return nullptr;
        auto copy = std::make_unique<FakeFileSystem>(*this);
        copy->listed.clear();
        copy->queried.clear();
        return copy;
    }

    std::vector<std::string> queried;
    std::vector<std::string> listed;  // on the walk's first thread
    std::string throwOnAttributesOf;  // a name whose query throws, as a failing system would
    // Runs in each query and listing with its path (a folder's ending in the separator), on
    // whichever thread asks: storage that takes its time, or never answers.
    std::function<void(const std::string&)> whileAsked;
    // Not 0: each folder takes its own time to list, up to 0.4 ms, different for each seed.
    int listingDelaySeed = 0;
    bool allowSecondThread = false;

private:
    struct FakeFolder final : FolderHandle {
        explicit FakeFolder(std::string dir) : dir(std::move(dir)) {}
        std::string dir;  // ending in the separator
    };

    ListedFolder List(const std::string& dir, bool dropped, FolderVisitor& visitor) {
        if (listingDelaySeed != 0) {
            const std::size_t hash =
                std::hash<std::string>{}(dir + std::to_string(listingDelaySeed));
            std::this_thread::sleep_for(std::chrono::microseconds(hash % 400));
        }
        listed.push_back(dropped ? "dropped " + dir : dir);
        if (whileAsked) whileAsked(dir);
        if (unlistable_.count(dir) != 0) return {};
        for (const auto& [name, kind] : listings_[dir]) visitor.Entry(name, kind);
        return {true, std::make_shared<FakeFolder>(dir)};
    }

    void Add(const std::string& path, NameKind attributes, EntryKind kind) {
        attributes_[path] = attributes;
        const auto cut = path.rfind(separator_);
        if (cut != std::string::npos && cut + 1 < path.size()) {
            listings_[path.substr(0, cut + 1)].emplace_back(path.substr(cut + 1), kind);
        }
    }

    char separator_;
    std::map<std::string, NameKind> attributes_;
    std::map<std::string, std::vector<std::pair<std::string, EntryKind>>> listings_;
    std::set<std::string> unlistable_;
};

struct FakeClipboard final : Clipboard {
    bool SetText(const OutputText& newText) override {
        ++setCount;
        setOn = std::this_thread::get_id();
        if (refuse) return false;
        text = newText.Joined();
        return true;
    }
    int setCount = 0;
    std::thread::id setOn;
    bool refuse = false;
    std::optional<std::string> text;
};

struct ShownMessage {
    std::string prompt;
    int buttonsAndIcon;
    std::string title;
};

struct FakeMsgBox final : MsgBox {
    void Show(std::string_view prompt, int buttonsAndIcon, std::string_view title) override {
        shown.push_back({std::string(prompt), buttonsAndIcon, std::string(title)});
        shownOn = std::this_thread::get_id();
        if (fail) throw std::runtime_error("no message box");
    }
    std::vector<ShownMessage> shown;
    std::thread::id shownOn;
    bool fail = false;  // each box throws once it is recorded, as a toolkit out of memory would
};

struct FakeBeep final : Beep {
    void Sound() override { ++count; }
    int count = 0;
};

// Byte order without case: enough to see that the sorted list sorts by key, stably.
struct FakeTextRules final : TextRules {
    static std::string Lowered(std::string_view text) {
        std::string lowered(text);
        for (char& c : lowered) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return lowered;
    }
    void AppendCollationKey(std::string_view text, std::string& keys) const override {
        keys += Lowered(text);
    }
    std::string ToUpper(std::string_view text) const override {
        std::string upper(text);
        for (char& c : upper) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        return upper;
    }
    std::string ToLower(std::string_view text) const override { return Lowered(text); }
};

struct FakeBorder final : DropTargetBorder {
    void SetBorderStyle(int style) override { styles.push_back(style); }
    std::vector<int> styles;
};

// Every service of a drop, recorded, and a drop handler wired to them.
struct FakeDrop {
    FakeFileSystem files;
    FakeClipboard clipboard;
    FakeMsgBox msgBox;
    FakeBeep beep;
    FakeTextRules rules;
    FakeBorder image1;
    DropHandler handler{{files, clipboard, msgBox, beep, rules, image1}};
    DropProgress progress;
};

// The main window as the drop gate sees it: posted work waits until RunPosted, as the event
// loop would run it after the current event; the drop's thread posts from its own.
struct FakeDropWindow final : DropWindow {
    void Post(std::chrono::milliseconds delay, std::function<void()> task) override {
        if (refusePosts) throw std::system_error(ENOMEM, std::generic_category());
        if (delay.count() == 0) {
            PostFromAnyThread(std::move(task));
        } else {
            delayed.emplace_back(delay, std::move(task));
        }
    }
    void PostFromAnyThread(std::function<void()> task) override {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(task));
        arrived_.notify_all();
    }
    void ShowWaitCursor(bool waiting) override { cursors.push_back(waiting); }
    void SetVisible(bool visible) override { ++(visible ? shown : hidden); }
    void Close() override { ++closed; }
    void ShowProgress(std::shared_ptr<const DropProgress> shownProgress,
                      std::function<void()>) override {
        progress = std::move(shownProgress);
        ++progressShown;
    }
    void HideProgress() override { progress.reset(); }

    // Runs what is posted, also from other threads meanwhile, until done() holds (at most 10 s).
    bool RunPostedUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            std::unique_lock lock(mutex_);
            // done() may come true without a post, from another thread: looked at now and then
            if (!arrived_.wait_for(lock, std::chrono::milliseconds(10),
                                   [this] { return !posted_.empty(); })) {
                if (std::chrono::steady_clock::now() > deadline) return false;
                continue;
            }
            auto task = std::move(posted_.front());
            posted_.erase(posted_.begin());
            lock.unlock();
            task();
        }
        return true;
    }
    // Runs what is posted until the drop has finished and nothing is left to run.
    void RunPosted(const DropGate& gate) {
        RunPostedUntil([&] {
            std::lock_guard lock(mutex_);
            return gate.AcceptsDrops() && posted_.empty();
        });
    }
    std::size_t PostedCount() {
        std::lock_guard lock(mutex_);
        return posted_.size();
    }

    std::vector<std::pair<std::chrono::milliseconds, std::function<void()>>> delayed;
    std::vector<bool> cursors;
    bool refusePosts = false;  // as a full message queue does
    int shown = 0;
    int hidden = 0;
    int closed = 0;
    std::shared_ptr<const DropProgress> progress;  // while the progress window shows
    int progressShown = 0;

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::function<void()>> posted_;
};

// Holds a thread until the test lets it go.
class Latch {
public:
    void Wait() {
        std::unique_lock lock(mutex_);
        entered_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    bool Entered() {
        std::lock_guard lock(mutex_);
        return entered_;
    }
    bool AwaitEntered() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [this] { return entered_; });
    }
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false;
    bool open_ = false;
};

struct FakePlacement final : WindowPlacement {
    void SetAlwaysOnTop(bool onTop) override { calls.push_back(onTop); }
    std::vector<bool> calls;
};

class FakeSettingsStore final : public SettingsStore {
public:
    using Address = std::tuple<std::string, std::string, std::string>;

    std::optional<std::string> Read(std::string_view application, std::string_view section,
                                    std::string_view key) override {
        const auto found = values.find(Address(application, section, key));
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
    bool Write(std::string_view application, std::string_view section, std::string_view key,
               std::string_view value) override {
        if (refuseWrites) return false;
        values[Address(application, section, key)] = std::string(value);
        return true;
    }
    SettingsPlace Place(std::string_view, std::string_view) override { return place; }

    std::map<Address, std::string> values;
    bool refuseWrites = false;
    SettingsPlace place{"/home/anna/.config/Kelvaro's Tools/Quarnel! 2.5.ini"};
};

// The dialog's fourteen buttons without the dialog and without radio groups. Selecting a button
// raises its click through onClick, as the toolkit does; every change records InOptionSync.
struct FakeOptionButtons final : OptionButtons {
    bool IsSelected(int index) const override { return selected.at(index); }
    void SetSelected(int index, bool value) override {
        inOptionSyncAtChange.push_back(InOptionSync);
        const bool becomesSelected = value && !selected.at(index);
        selected.at(index) = value;
        if (becomesSelected && onClick) onClick(index);
    }
    std::array<bool, cOptionCount> selected{};
    std::vector<std::int16_t> inOptionSyncAtChange;
    std::function<void(int)> onClick;
};

}  // namespace quarnel::testing
