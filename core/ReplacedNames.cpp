#include "ReplacedNames.hpp"

namespace quarnel {

ReplacedNames ReplacedFileNames;
ReplacedNames ReplacedDirNames;

void ReplacedNames::Note(std::string_view dir, std::string_view name) {
    ++count_;
    if (firstFew_.size() < cKept) firstFew_.push_back(std::string(dir).append(name));
}

void ReplacedNames::Add(const ReplacedNames& other) {
    count_ += other.count_;
    for (const std::string& name : other.firstFew_) {
        if (firstFew_.size() == cKept) break;
        firstFew_.push_back(name);
    }
}

void ReplacedNames::Clear() {
    count_ = 0;
    firstFew_.clear();
}

}  // namespace quarnel
