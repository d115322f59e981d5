// A file written whole beside its final name and put in its place by one rename, so readers and a
// crash see the old file or the new one, never part of one. Where the file system has them the
// new file has no name (O_TMPFILE) until it is whole and on the disk, so a process killed while
// writing leaves nothing; it is then named "<name>.XXXXXX" and renamed. Such a name left by a
// process killed in between is removed by a later save once it is a minute old. A symbolic link
// in the file's place stays: the file it points to is replaced. An existing file that may not be
// written is not replaced; its permission bits pass to the new file, and a new file gets 0666
// less the umask.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "FileDescriptor.hpp"

namespace quarnel {

class FileReplacement {
public:
    // Creates the new file in the folder of the file it replaces, without a name where it can.
    explicit FileReplacement(const std::filesystem::path& path);
    // Removes the new file unless Commit has put it in place.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool Opened() const { return file_.Valid(); }
    // Buffered; a failure is kept and makes Commit fail.
    void Write(std::string_view piece);
    // Writes what is buffered, flushes it to the disk, names the new file and renames it over the
    // old one.
    bool Commit();

private:
    bool Flush();
    // Closes and removes the new file.
    void Discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;  // empty while the new file has no name
    FileDescriptor file_;
    std::string buffer_;
    bool failed_ = false;
};

}  // namespace quarnel
