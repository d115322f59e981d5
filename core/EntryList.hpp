// One of the two entry lists a drop collects into. The unsorted list keeps arrival order; the
// sorted one ranks by collation key when the text is built, keeping equal entries in arrival
// order. Neither has a size limit; the entries share one buffer, so a million of them cost
// little more than their bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextRules.hpp"

namespace quarnel {

class EntryList {
public:
    explicit EntryList(bool sorted) : sorted_(sorted) {}

    void Add(std::string_view entry) {
        bytes_.append(entry);
        ends_.push_back(bytes_.size());
    }
    std::size_t Count() const { return ends_.size(); }
    void Clear();

    // The entries in list order, each followed by CR LF.
    std::string OutputText(const TextRules& rules) const;

private:
    std::string_view At(std::size_t index) const;
    std::vector<std::size_t> OrderOfEntries(const TextRules& rules) const;

    bool sorted_;
    std::string bytes_;
    std::vector<std::size_t> ends_;
};

}  // namespace quarnel
