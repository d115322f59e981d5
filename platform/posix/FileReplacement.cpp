#include "FileReplacement.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <system_error>

namespace quarnel {
namespace {

constexpr std::size_t cBufferBytes = 64 * 1024;
constexpr int cMaxLinkDepth = 40;  // where the kernel gives up too
constexpr int cNameTries = 100;
constexpr std::string_view cNameLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t cSuffixLetters = 6;
constexpr time_t cStaleSeconds = 60;

// The file that the chain of symbolic links at path ends in, whether it exists or not.
std::filesystem::path LinkTarget(std::filesystem::path path) {
    for (int depth = 0; depth < cMaxLinkDepth; ++depth) {
        std::error_code error;
        if (!std::filesystem::is_symlink(path, error)) break;
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) break;
        path = path.parent_path() / target;  // an absolute target replaces the whole path
    }
    return path;
}

// Tries names "<target>.XXXXXX" until make(name) succeeds or fails for another reason than a
// file already there; the names only have to differ. The name made, or an empty path.
template <typename Make>
std::filesystem::path NameBeside(const std::filesystem::path& target, Make make) {
    std::minstd_rand random(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        static_cast<unsigned>(::getpid()));
    std::uniform_int_distribution<std::size_t> pick(0, cNameLetters.size() - 1);
    for (int attempt = 0; attempt < cNameTries; ++attempt) {
        std::string suffix = ".";
        for (std::size_t i = 0; i < cSuffixLetters; ++i) suffix += cNameLetters[pick(random)];
        std::filesystem::path name = target;
        name += suffix;
        if (make(name)) return name;
        if (errno != EEXIST) break;
    }
    return {};
}

// Whether name is one NameBeside gives for a file named fileName.
bool IsNameBeside(std::string_view name, std::string_view fileName) {
    if (name.size() != fileName.size() + 1 + cSuffixLetters || !name.starts_with(fileName) ||
        name[fileName.size()] != '.') {
        return false;
    }
    return name.substr(fileName.size() + 1).find_first_not_of(cNameLetters) ==
           std::string_view::npos;
}

struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

// A save killed between naming its new file and the rename leaves that file behind. Ours are
// removed once they are older than a minute: a younger one may be the save of another running
// instance.
void RemoveStaleNewFiles(const std::filesystem::path& target) {
    const std::filesystem::path parent = target.parent_path();
    const std::unique_ptr<DIR, FolderCloser> folder(
        ::opendir(parent.empty() ? "." : parent.c_str()));
    if (!folder) return;
    const std::string fileName = target.filename();
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(folder.get())) {
        if (!IsNameBeside(entry->d_name, fileName)) continue;
        struct stat status {};
        if (::fstatat(::dirfd(folder.get()), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
            now - status.st_mtime > cStaleSeconds) {
            ::unlinkat(::dirfd(folder.get()), entry->d_name, 0);
        }
    }
}

// A file without a name in target's folder, where the file system has them: a save killed
// before Commit leaves nothing behind.
FileDescriptor CreateUnnamed(const std::filesystem::path& target, mode_t mode) {
    const std::filesystem::path parent = target.parent_path();
    return FileDescriptor(
        ::open(parent.empty() ? "." : parent.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
}

// Gives the unnamed file a name beside target. Through /proc, as any user may; AT_EMPTY_PATH
// (which wants a privilege) where /proc is not mounted.
std::filesystem::path NameUnnamed(int fd, const std::filesystem::path& target) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return NameBeside(target, [&](const std::filesystem::path& name) {
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return true;
        }
        return errno == ENOENT && ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
    });
}

}  // namespace

FileReplacement::FileReplacement(const std::filesystem::path& path) : target_(LinkTarget(path)) {
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    if (exists && ::access(target_.c_str(), W_OK) != 0) return;
    RemoveStaleNewFiles(target_);
    // Readable by the owner alone until it has the old file's permission bits.
    const mode_t mode = exists ? 0600 : 0666;
    file_ = CreateUnnamed(target_, mode);
    if (!file_.Valid()) {
        temporary_ = NameBeside(target_, [&](const std::filesystem::path& name) {
            file_ =
                FileDescriptor(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
            return file_.Valid();
        });
    }
    if (exists && file_.Valid() && ::fchmod(file_.Get(), old.st_mode & 0777) != 0) Discard();
    buffer_.reserve(cBufferBytes);
}

FileReplacement::~FileReplacement() { Discard(); }

void FileReplacement::Write(std::string_view piece) {
    if (failed_) return;
    buffer_.append(piece);
    if (buffer_.size() >= cBufferBytes && !Flush()) failed_ = true;
}

bool FileReplacement::Commit() {
    const bool written = Opened() && !failed_ && Flush() && ::fdatasync(file_.Get()) == 0;
    if (written && temporary_.empty()) temporary_ = NameUnnamed(file_.Get(), target_);
    if (!written || temporary_.empty() || !file_.Close() ||
        ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        Discard();
        return false;
    }
    temporary_.clear();
    return true;
}

bool FileReplacement::Flush() {
    std::string_view rest = buffer_;
    while (!rest.empty()) {
        const ssize_t written = ::write(file_.Get(), rest.data(), rest.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    buffer_.clear();
    return true;
}

void FileReplacement::Discard() {
    file_.Reset();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

}  // namespace quarnel
