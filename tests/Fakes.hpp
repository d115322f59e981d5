// In-memory stand-ins for the platform services, recording what the core asked of them.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "core/DropHandler.hpp"
#include "core/Module1.hpp"
#include "platform/AAJ.hpp"
#include "platform/SettingsStore.hpp"

namespace quarnel::testing {

class FakeFileSystem final : public FileSystem {
public:
    explicit FakeFileSystem(char separator = '\\') : separator_(separator) {}
    void AddFile(const std::string& path) { attributes_[path] = 0x20; }
    void AddFolder(const std::string& path) { attributes_[path] = cDirectoryAttribute; }

    char pathSeparator() const override { return separator_; }
    std::optional<std::uint32_t> attributes(const std::string& path) override {
        queried.push_back(path);
        const auto found = attributes_.find(path);
        if (found == attributes_.end()) return std::nullopt;
        return found->second;
    }

    std::vector<std::string> queried;

private:
    char separator_;
    std::map<std::string, std::uint32_t> attributes_;
};

struct FakeClipboard final : Clipboard {
    void clear() override {
        events.push_back("clear");
        text.reset();
    }
    void setText(const std::string& newText) override {
        events.push_back("set");
        text = newText;
    }
    std::vector<std::string> events;
    std::optional<std::string> text;
};

struct ShownMessage {
    std::string prompt;
    int buttonsAndIcon;
    std::string title;
};

struct FakeMsgBox final : MsgBox {
    void show(std::string_view prompt, int buttonsAndIcon, std::string_view title) override {
        shown.push_back({std::string(prompt), buttonsAndIcon, std::string(title)});
    }
    std::vector<ShownMessage> shown;
};

struct FakeBeep final : Beep {
    void beep() override { ++count; }
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
    std::string collationKey(std::string_view text) const override { return Lowered(text); }
    std::string toUpper(std::string_view text) const override {
        std::string upper(text);
        for (char& c : upper) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        return upper;
    }
    std::string toLower(std::string_view text) const override { return Lowered(text); }
};

struct FakeBorder final : DropTargetBorder {
    void SetBorderStyle(int style) override { styles.push_back(style); }
    std::vector<int> styles;
};

struct FakePlacement final : AAJ {
    void SetAlwaysOnTop(bool onTop) override { calls.push_back(onTop); }
    std::vector<bool> calls;
};

class FakeSettingsStore final : public SettingsStore {
public:
    using Address = std::tuple<std::string, std::string, std::string>;

    std::optional<std::string> read(std::string_view application, std::string_view section,
                                    std::string_view key) override {
        const auto found = values.find(Address(application, section, key));
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
    bool write(std::string_view application, std::string_view section, std::string_view key,
               std::string_view value) override {
        if (refuseWrites) return false;
        values[Address(application, section, key)] = std::string(value);
        return true;
    }

    std::map<Address, std::string> values;
    bool refuseWrites = false;
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
