// What each dropped name is, asked of the file system on a thread of its own and ahead of the
// drop that takes the answers in order, and, for a network location, where it is read first: a
// name on storage that never answers, or a desktop service that does not, holds up that thread
// only, and a stopped drop leaves it behind to finish on its own.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "DropProgress.hpp"
#include "ThreadStart.hpp"
#include "platform/FileSystem.hpp"
#include "platform/NetworkLocations.hpp"

namespace quarnel {

// A dropped name as it is read: a network location through its local path.
struct DroppedNameKind {
    std::optional<std::string> path;  // nullopt: a network location without one
    std::optional<NameKind> kind;     // nullopt: it cannot be reached
};

class DroppedNameKinds {
public:
    // The names are asked on a thread with files.ForSecondThread(), which a stopped drop leaves
    // to a call that hangs; without one, with files itself, waited for at the end. Where no
    // thread can be started, each name is asked when it is taken. A network location is looked
    // up in locations (without them it has no local path).
    DroppedNameKinds(std::vector<std::string> names, FileSystem& files, NetworkLocations* locations,
                     const DropProgress& progress, const ThreadStarter& startThread);
    ~DroppedNameKinds();
    DroppedNameKinds(const DroppedNameKinds&) = delete;
    DroppedNameKinds& operator=(const DroppedNameKinds&) = delete;

    // How the next name is read; throws DropStopped once the drop is stopped, and whatever
    // asking threw.
    DroppedNameKind Next();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    const DropProgress& progress_;
    std::thread asking_;
    std::size_t taken_ = 0;
};

}  // namespace quarnel
