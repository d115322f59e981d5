// The state the whole program shares for its lifetime: the option flags, which of the two lists
// a drop fills (ActiveList, an index) and the guard of the options dialog's own clicks. The flags
// are 16-bit and any non-zero value counts as on, because a hand-edited stored value may hold
// digits 2 to 9. The options dialog sets them on the window's thread while a drop reads them on
// its own, so each flag is atomic.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace quarnel {

inline constexpr int cOptionCount = 14;

using OptionFlagArray = std::array<std::int16_t, cOptionCount>;

class SharedOptionFlags {
public:
    std::atomic<std::int16_t>& operator[](std::size_t index) { return flags_[index]; }
    const std::atomic<std::int16_t>& operator[](std::size_t index) const { return flags_[index]; }
    SharedOptionFlags& operator=(const OptionFlagArray& flags) {
        for (std::size_t i = 0; i < flags.size(); ++i) flags_[i] = flags[i];
        return *this;
    }
    OptionFlagArray Snapshot() const {
        OptionFlagArray flags{};
        for (std::size_t i = 0; i < flags.size(); ++i) flags[i] = flags_[i];
        return flags;
    }

private:
    std::array<std::atomic<std::int16_t>, cOptionCount> flags_{};
};

extern SharedOptionFlags OptionFlags;
extern std::int16_t ActiveList;
extern std::int16_t InOptionSync;

inline bool IsOn(int optionIndex) {
    return OptionFlags[static_cast<std::size_t>(optionIndex)].load(std::memory_order_relaxed) != 0;
}

}  // namespace quarnel
