#include "OpenFolderChain.hpp"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

#include "StepwiseOpen.hpp"

namespace quarnel {
namespace {

constexpr int cFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
constexpr int cFoundFolderFlags = cFolderFlags | O_NOFOLLOW;
// Far below the usual limit of 1024 descriptors, far above the depth of everyday trees.
constexpr std::size_t cMostOpen = 64;

std::string_view WithoutTrailingSlash(std::string_view dir) {
    return dir.size() > 1 ? dir.substr(0, dir.size() - 1) : dir;
}

}  // namespace

int OpenFolderChain::Open(const std::string& dir, bool dropped) {
    return dropped ? StartChain(dir, cFolderFlags) : OpenBeneath(dir);
}

int OpenFolderChain::StartChain(const std::string& dir, int flags) {
    levels_.clear();
    openCount_ = 0;
    const std::string path(WithoutTrailingSlash(dir));
    FileDescriptor fd(::open(path.c_str(), flags));
    if (!fd.Valid() && errno == ENAMETOOLONG) fd = OpenStepwise(AT_FDCWD, path, flags);
    if (!fd.Valid()) return -1;
    return Push(dir, std::move(fd));
}

int OpenFolderChain::OpenBeneath(const std::string& dir) {
    // Leave only the ancestors of dir in the chain. Mostly dir lies beneath the folder opened
    // last, and one comparison of whole blocks says so, even for paths of many kilobytes.
    const bool beneathDeepest = dir.size() > deepest_.size() && dir.starts_with(deepest_);
    const auto common =
        beneathDeepest
            ? deepest_.size()
            : static_cast<std::size_t>(
                  std::mismatch(deepest_.begin(), deepest_.end(), dir.begin(), dir.end()).first -
                  deepest_.begin());
    while (!levels_.empty() && levels_.back().length > common) {
        if (levels_.back().fd.Valid()) --openCount_;
        levels_.pop_back();
    }
    if (levels_.empty()) return StartChain(dir, cFoundFolderFlags);

    // Open again what was closed between the nearest open ancestor and the parent.
    std::size_t anchor = levels_.size() - 1;
    while (!levels_[anchor].fd.Valid()) --anchor;
    for (std::size_t i = anchor + 1; i < levels_.size(); ++i) {
        const std::size_t begin = levels_[i - 1].length;
        const std::string name = dir.substr(begin, levels_[i].length - 1 - begin);
        FileDescriptor fd(::openat(levels_[i - 1].fd.Get(), name.c_str(), cFoundFolderFlags));
        if (!fd.Valid()) return -1;
        levels_[i].fd = std::move(fd);
        ++openCount_;
    }

    const std::string_view rest =
        WithoutTrailingSlash(std::string_view(dir).substr(levels_.back().length));
    FileDescriptor fd;
    if (rest.find('/') == std::string_view::npos) {
        fd = FileDescriptor(
            ::openat(levels_.back().fd.Get(), std::string(rest).c_str(), cFoundFolderFlags));
    } else {
        fd = OpenStepwise(levels_.back().fd.Get(), rest, cFoundFolderFlags);
    }
    if (!fd.Valid()) return -1;
    return Push(dir, std::move(fd));
}

int OpenFolderChain::Push(const std::string& dir, FileDescriptor fd) {
    deepest_ = dir;
    levels_.push_back({dir.size(), std::move(fd)});
    ++openCount_;
    CloseBeyondLimit();
    return levels_.back().fd.Get();
}

void OpenFolderChain::CloseBeyondLimit() {
    // The dropped folder stays open: every other one can be reached again from it.
    for (std::size_t i = 1; openCount_ > cMostOpen && i < levels_.size(); ++i) {
        if (!levels_[i].fd.Valid()) continue;
        levels_[i].fd.Reset();
        --openCount_;
    }
}

}  // namespace quarnel
