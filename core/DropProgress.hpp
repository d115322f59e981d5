// What a running drop shares with the window's thread: how far it has come, for the progress
// window to read now and then, and whether the user has stopped it. The drop's threads write,
// the window's thread reads and stops; nothing here waits on the other side.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace quarnel {

// Thrown where a drop that has been stopped notices it, so that it unwinds at once.
struct DropStopped {};

class DropProgress {
public:
    void Stop() { stopped_.store(true); }
    bool Stopped() const { return stopped_.load(std::memory_order_relaxed); }
    void ThrowIfStopped() const {
        if (Stopped()) throw DropStopped{};
    }

    void AddNamesFound(std::uint64_t count) {
        namesFound_.fetch_add(count, std::memory_order_relaxed);
    }
    std::uint64_t NamesFound() const { return namesFound_.load(std::memory_order_relaxed); }

    // The folder being read is copied only when someone has asked for it since it was copied
    // last, so a deep tree does not copy its long paths once per folder.
    bool FolderWanted() const { return folderWanted_.load(std::memory_order_relaxed); }
    void SetFolder(std::string_view folder) {
        std::lock_guard lock(mutex_);
        folder_.assign(folder);
        folderWanted_.store(false, std::memory_order_relaxed);
    }
    // The folder last set, and a wish for the next.
    std::string Folder() const {
        folderWanted_.store(true, std::memory_order_relaxed);
        std::lock_guard lock(mutex_);
        return folder_;
    }

private:
    std::atomic<bool> stopped_{false};
    std::atomic<std::uint64_t> namesFound_{0};
    mutable std::atomic<bool> folderWanted_{true};
    mutable std::mutex mutex_;
    std::string folder_;
};

}  // namespace quarnel
