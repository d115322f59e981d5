#include "DroppedNameKinds.hpp"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>

namespace quarnel {

// Owned by the drop and the asking thread together, so that a thread left behind in a call that
// never returns still has what it uses: its own file system, where there is one to be had.
struct DroppedNameKinds::Shared {
    Shared(std::vector<std::string> names, FileSystem& files, std::unique_ptr<FileSystem> own,
           NetworkLocations* locations)
        : names(std::move(names)),
          own(std::move(own)),
          files(this->own ? *this->own : files),
          locations(locations) {}

    DroppedNameKind Ask(const std::string& name) {
        if (!IsNetworkLocation(name)) return {name, files.Attributes(name)};
        std::optional<std::string> path = locations ? locations->LocalPathOf(name) : std::nullopt;
        if (!path) return {};
        std::optional<NameKind> kind = files.Attributes(*path);
        return {std::move(path), kind};
    }

    void AskAll() {
        try {
            for (const std::string& name : names) {
                {
                    std::lock_guard lock(mutex);
                    if (leftBehind) return;
                }
                DroppedNameKind kind = Ask(name);
                std::lock_guard lock(mutex);
                if (leftBehind) return;
                kinds.push_back(std::move(kind));
                answered.notify_all();
            }
        } catch (...) {
            std::lock_guard lock(mutex);
            failure = std::current_exception();
            answered.notify_all();
        }
    }

    const std::vector<std::string> names;
    const std::unique_ptr<FileSystem> own;
    FileSystem& files;
    NetworkLocations* const locations;
    std::mutex mutex;
    std::condition_variable answered;
    std::vector<DroppedNameKind> kinds;
    std::exception_ptr failure;
    bool leftBehind = false;  // nobody takes the answers any more
};

DroppedNameKinds::DroppedNameKinds(std::vector<std::string> names, FileSystem& files,
                                   NetworkLocations* locations, const DropProgress& progress,
                                   const ThreadStarter& startThread)
    : progress_(progress) {
    if (names.empty()) {
        shared_ = std::make_shared<Shared>(std::move(names), files, nullptr, locations);
        return;
    }
    shared_ = std::make_shared<Shared>(std::move(names), files, files.ForSecondThread(), locations);
    try {
        asking_ = startThread([shared = shared_] { shared->AskAll(); });
    } catch (const std::system_error&) {
        // Asked one by one as they are taken.
    }
}

DroppedNameKinds::~DroppedNameKinds() {
    if (!asking_.joinable()) return;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->leftBehind = true;
    }
    // Only a thread with a file system of its own may be left to a call that hangs.
    if (progress_.Stopped() && shared_->own) {
        asking_.detach();
    } else {
        asking_.join();
    }
}

DroppedNameKind DroppedNameKinds::Next() {
    progress_.ThrowIfStopped();
    const std::size_t index = taken_++;
    if (!asking_.joinable()) return shared_->Ask(shared_->names.at(index));
    std::unique_lock lock(shared_->mutex);
    constexpr std::chrono::milliseconds cStopLooks{20};
    while (shared_->kinds.size() <= index && !shared_->failure) {
        shared_->answered.wait_for(lock, cStopLooks);
        progress_.ThrowIfStopped();
    }
    if (shared_->kinds.size() <= index) std::rethrow_exception(shared_->failure);
    return shared_->kinds[index];
}

}  // namespace quarnel
