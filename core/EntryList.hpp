// One of the two entry lists a drop collects into. The unsorted list keeps arrival order and
// holds its entries as the output text itself, each followed by CR LF; the sorted one ranks by
// collation key when the text is taken, keeping equal entries in arrival order. Neither has a
// size limit, and a million entries cost little more than their bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "PacedYield.hpp"
#include "platform/OutputText.hpp"
#include "platform/TextRules.hpp"

namespace quarnel {

class EntryList {
public:
    explicit EntryList(bool sorted) : sorted_(sorted) {}

    void Add(std::string_view entry);
    std::size_t Count() const { return count_; }
    void Clear();

    // Takes the entries out in list order, each followed by CR LF; the list is empty after.
    // Sorting lets the event loop run at its pace meanwhile.
    OutputText TakeText(const TextRules& rules, PacedYield& pace);

private:
    std::string_view At(std::size_t index) const;
    std::vector<std::size_t> OrderOfEntries(const TextRules& rules, PacedYield& pace) const;

    bool sorted_;
    std::size_t count_ = 0;
    OutputText text_;                // the unsorted list
    std::string bytes_;              // the sorted list's entries
    std::vector<std::size_t> ends_;  // and where each ends
};

}  // namespace quarnel
