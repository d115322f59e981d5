#include "IniSettingsStore.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <system_error>

#include "FileDescriptor.hpp"
#include "FileReplacement.hpp"
#include "IniText.hpp"

namespace quarnel {
namespace {

constexpr std::string_view cIniGroup = "General";
constexpr std::size_t cChunkBytes = 64 * 1024;

// The lines of an open settings file, read a chunk at a time.
class FileLines final : public LineSource {
public:
    explicit FileLines(std::FILE* file) : file_(file) {}

    // Each byte is searched once: a line longer than a chunk costs no more than its length.
    bool NextLine(std::string_view& line) override {
        std::size_t newline;
        while ((newline = buffer_.find('\n', searched_)) == std::string::npos && !atEnd_) {
            searched_ = buffer_.size();
            ReadChunk();
        }
        if (start_ == buffer_.size()) return false;
        const std::size_t end = newline == std::string::npos ? buffer_.size() : newline + 1;
        line = std::string_view(buffer_).substr(start_, end - start_);
        start_ = searched_ = end;
        return true;
    }

    // Back to the first line, for a second pass.
    bool Rewind() {
        buffer_.clear();
        start_ = searched_ = 0;
        atEnd_ = false;
        return std::fseek(file_, 0, SEEK_SET) == 0;
    }

    bool Failed() const { return failed_; }

private:
    // Drops the lines already passed on, then appends the next chunk of the file.
    void ReadChunk() {
        buffer_.erase(0, start_);
        searched_ -= start_;
        start_ = 0;
        const std::size_t kept = buffer_.size();
        buffer_.resize(kept + cChunkBytes);
        const std::size_t read = std::fread(buffer_.data() + kept, 1, cChunkBytes, file_);
        buffer_.resize(kept + read);
        if (read < cChunkBytes) {
            atEnd_ = true;
            failed_ = std::ferror(file_) != 0;
        }
    }

    std::FILE* file_;
    std::string buffer_;
    std::size_t start_ = 0;     // of the next line in buffer_
    std::size_t searched_ = 0;  // where the search for its end goes on
    bool atEnd_ = false;
    bool failed_ = false;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

// The settings file opened for reading when it is a regular file. Opened without blocking, so
// a named pipe or a device in its place cannot stop the program; its type is checked on the
// open file itself. errno tells why there is none (ENOENT: there is no such file).
OpenFile OpenSettingsFile(const std::filesystem::path& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) return nullptr;
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        errno = EINVAL;
        return nullptr;
    }
    OpenFile file(::fdopen(fd.Get(), "rb"));
    if (file) fd.Release();
    return file;
}

// $HOME tidied as a path ("/home/anna/", "/home//anna" and "/home/anna" are one folder). Where
// it is unset or empty, the user database names the home folder; the root folder is the last
// resort.
std::filesystem::path HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
    }
    return std::filesystem::path(*home == '\0' ? "/" : home).lexically_normal();
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::filesystem::path configHome)
    : configHome_(std::move(configHome)) {}

std::filesystem::path IniSettingsStore::DefaultConfigHome() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') return configHome;
    return HomeFolder() / ".config";
}

std::filesystem::path IniSettingsStore::FilePath(std::string_view application,
                                                 std::string_view section) const {
    return configHome_ / std::string(application) / (std::string(section) + ".ini");
}

std::optional<std::string> IniSettingsStore::Read(std::string_view application,
                                                  std::string_view section, std::string_view key) {
    const OpenFile file = OpenSettingsFile(FilePath(application, section));
    if (!file) return std::nullopt;
    FileLines lines(file.get());
    auto value = IniValue(lines, cIniGroup, key);
    if (lines.Failed()) return std::nullopt;
    return value;
}

SettingsPlace IniSettingsStore::Place(std::string_view application, std::string_view section) {
    const auto path = FilePath(application, section);
    const bool readable = OpenSettingsFile(path) || errno == ENOENT;
    return {path.string(), readable};
}

// The new file is written beside the old one and takes its place only when it is whole. A file
// that exists but cannot be read is never replaced: what it holds would be lost.
bool IniSettingsStore::Write(std::string_view application, std::string_view section,
                             std::string_view key, std::string_view value) {
    const auto path = FilePath(application, section);
    const OpenFile old = OpenSettingsFile(path);
    if (!old && errno != ENOENT) return false;

    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) return false;
    FileReplacement file(path);
    if (!file.Opened()) return false;
    const auto out = [&](std::string_view piece) { file.Write(piece); };
    if (old) {
        FileLines lines(old.get());
        const IniKeyPlace place = FindIniKey(lines, cIniGroup, key);
        if (lines.Failed() || !lines.Rewind()) return false;
        CopyWithIniValue(lines, place, cIniGroup, key, value, out);
        if (lines.Failed()) return false;
    } else {
        TextLines none("");
        CopyWithIniValue(none, {}, cIniGroup, key, value, out);
    }
    return file.Commit();
}

}  // namespace quarnel
