// The names a walk found that cannot be one line of text (not valid text, or holding control
// characters). The list writes each offending byte as "?", so the line is no longer the real
// name: these are kept, by kind, for the message that says so. Only the first few are kept as
// they really are; the rest are counted.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

class ReplacedNames {
public:
    static constexpr std::size_t cKept = 5;

    // dir is the folder's path, ending in the separator; needed only for the first few.
    void Note(std::string_view dir, std::string_view name);
    void Add(const ReplacedNames& other);
    void Clear();
    std::size_t Count() const { return count_; }
    const std::vector<std::string>& FirstFew() const { return firstFew_; }

private:
    std::size_t count_ = 0;
    std::vector<std::string> firstFew_;
};

// What the walk replaced since the drop handler last emptied them, like FoundFiles and FoundDirs.
extern ReplacedNames ReplacedFileNames;
extern ReplacedNames ReplacedDirNames;

}  // namespace quarnel
