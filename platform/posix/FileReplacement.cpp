#include "FileReplacement.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <random>
#include <system_error>

namespace quarnel {
namespace {

constexpr std::size_t cBufferBytes = 64 * 1024;
constexpr int cMaxLinkDepth = 40;  // where the kernel gives up too
constexpr int cNameTries = 100;

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

// A new file named "<target>.XXXXXX" beside target, with mode less the umask. The names only
// have to differ: O_EXCL never takes a file that is already there.
FileDescriptor CreateBeside(const std::filesystem::path& target, mode_t mode,
                            std::filesystem::path& name) {
    constexpr std::string_view letters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::minstd_rand random(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        static_cast<unsigned>(::getpid()));
    std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
    for (int attempt = 0; attempt < cNameTries; ++attempt) {
        std::string suffix = ".";
        for (int i = 0; i < 6; ++i) suffix += letters[pick(random)];
        name = target;
        name += suffix;
        FileDescriptor file(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (file.Valid()) return file;
        if (errno != EEXIST) break;
    }
    name.clear();
    return {};
}

}  // namespace

FileReplacement::FileReplacement(const std::filesystem::path& path) : target_(LinkTarget(path)) {
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    if (exists && ::access(target_.c_str(), W_OK) != 0) return;
    // Readable by the owner alone until it has the old file's permission bits.
    file_ = CreateBeside(target_, exists ? 0600 : 0666, temporary_);
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
    if (!written || !file_.Close() || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
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
