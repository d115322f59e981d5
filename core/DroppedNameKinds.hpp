// What each dropped name is, asked of the file system on a thread of its own and ahead of the
// drop that takes the answers in order: a name on storage that never answers holds up that
// thread only, and a stopped drop leaves it behind to finish on its own.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "DropProgress.hpp"
#include "ThreadStart.hpp"
#include "platform/FileSystem.hpp"

namespace quarnel {

class DroppedNameKinds {
public:
    // The names are asked on a thread with files.ForSecondThread(), which a stopped drop leaves
    // to a call that hangs; without one, with files itself, waited for at the end. Where no
    // thread can be started, each name is asked when it is taken.
    DroppedNameKinds(std::vector<std::string> names, FileSystem& files,
                     const DropProgress& progress, const ThreadStarter& startThread);
    ~DroppedNameKinds();
    DroppedNameKinds(const DroppedNameKinds&) = delete;
    DroppedNameKinds& operator=(const DroppedNameKinds&) = delete;

    // What the next name is (nullopt: it cannot be reached); throws DropStopped once the drop
    // is stopped, and whatever asking threw.
    std::optional<NameKind> Next();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    const DropProgress& progress_;
    std::thread asking_;
    std::size_t taken_ = 0;
};

}  // namespace quarnel
