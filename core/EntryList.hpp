// One of the two entry lists a drop collects into. The unsorted list keeps arrival order; the
// sorted one ranks by collation key when the text is built, keeping equal entries in arrival
// order. Neither has a size limit.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/TextRules.hpp"

namespace quarnel {

class EntryList {
public:
    explicit EntryList(bool sorted) : sorted_(sorted) {}

    void add(std::string entry) { entries_.push_back(std::move(entry)); }
    std::size_t count() const { return entries_.size(); }
    void clear() { entries_.clear(); }

    // The entries in list order, each followed by CR LF.
    std::string OutputText(const TextRules& rules) const;

private:
    std::vector<std::size_t> OrderOfEntries(const TextRules& rules) const;

    bool sorted_;
    std::vector<std::string> entries_;
};

}  // namespace quarnel
