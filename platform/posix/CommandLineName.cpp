#include "CommandLineName.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/NetworkLocations.hpp"
#include "platform/posix/support/UriList.hpp"

namespace quarnel {
namespace {

bool SameFile(const char* a, const char* b, int (*statOf)(const char*, struct stat*)) {
    struct stat first {};
    struct stat second {};
    return statOf(a, &first) == 0 && statOf(b, &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

bool SameFolder(const char* a, const char* b) { return SameFile(a, b, ::stat); }

// The path as the kernel reads it from the real current folder: its folder resolved, its own
// name as given, so a link named last stays a link.
std::string KernelsFullName(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const bool nameIsAStep = name.empty() || name == "." || name == "..";
    const std::string folder = nameIsAStep                  ? path
                               : slash == std::string::npos ? std::string(".")
                                                            : path.substr(0, slash + 1);
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr),
                                                           &std::free);
    if (!real) return {};
    std::string full(real.get());
    if (nameIsAStep) return full;
    if (full != "/") full += '/';
    return full + name;
}

}  // namespace

std::string CurrentFolder() {
    const char* shellFolder = std::getenv("PWD");
    if (shellFolder != nullptr && shellFolder[0] == '/' && SameFolder(shellFolder, ".")) {
        return shellFolder;
    }
    const std::unique_ptr<char, decltype(&std::free)> real(::getcwd(nullptr, 0), &std::free);
    return real ? std::string(real.get()) : std::string("/");
}

std::string FullNameOfArgument(const std::string& path, std::string_view currentFolder) {
    std::string textForm = FullNameFrom(path, currentFolder);
    const bool sameFile = SameFile(path.c_str(), textForm.c_str(), ::stat) ||
                          SameFile(path.c_str(), textForm.c_str(), ::lstat);
    struct stat status {};
    if (sameFile) return textForm;
    if (::lstat(path.c_str(), &status) != 0) {
        // Missing as typed, so it must stay missing: not the text form when that exists.
        if (::lstat(textForm.c_str(), &status) != 0) return textForm;
        std::string kernels = KernelsFullName(path);
        if (!kernels.empty() && ::lstat(kernels.c_str(), &status) != 0) return kernels;
        return path.starts_with('/') ? path : std::string(currentFolder) + "/" + path;
    }
    std::string kernels = KernelsFullName(path);
    return kernels.empty() ? textForm : kernels;
}

std::string DroppedNameOfArgument(const std::string& argument, std::string_view currentFolder) {
    if (auto path = LocalPathOfFileUri(argument)) return std::move(*path);
    if (IsNetworkLocation(argument)) return argument;
    return FullNameOfArgument(argument, currentFolder);
}

std::string FullNameFrom(std::string_view path, std::string_view currentFolder) {
    std::string joined;
    if (path.empty() || path.front() != '/') {
        joined.append(currentFolder);
        joined += '/';
    }
    joined.append(path);

    std::vector<std::string_view> names;
    std::string_view rest(joined);
    while (!rest.empty()) {
        const std::size_t slash = std::min(rest.find('/'), rest.size());
        const std::string_view name = rest.substr(0, slash);
        rest.remove_prefix(std::min(slash + 1, rest.size()));
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (!names.empty()) names.pop_back();
            continue;
        }
        names.push_back(name);
    }
    std::string fullName;
    for (const std::string_view name : names) {
        fullName += '/';
        fullName.append(name);
    }
    return fullName.empty() ? "/" : fullName;
}

}  // namespace quarnel
