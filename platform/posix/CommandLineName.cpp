#include "CommandLineName.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace quarnel {
namespace {

bool SameFolder(const char* a, const char* b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a, &first) == 0 && ::stat(b, &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
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
