// One of the two entry lists a drop collects into. The unsorted list keeps arrival order and
// holds its entries as the output text itself, each followed by CR LF. The sorted one keeps each
// entry beside its collation key, ranks by key when the text is taken, equal entries in arrival
// order, and makes its text as it is read. Neither has a size limit, and a million entries cost
// little more than their bytes (and, sorted, their keys).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "RecordChunks.hpp"
#include "platform/OutputText.hpp"
#include "platform/TextRules.hpp"

namespace quarnel {

class EntryList {
public:
    // rules give the sorted list its keys.
    EntryList(bool sorted, const TextRules& rules) : sorted_(sorted), rules_(rules) {}

    void Add(std::string_view entry);
    std::size_t Count() const { return count_; }
    void Clear();

    // Takes the entries out in list order, each followed by CR LF; the list is empty after.
    OutputText TakeText();

private:
    bool sorted_;
    const TextRules& rules_;
    std::size_t count_ = 0;
    OutputText text_;  // the unsorted list
    // The sorted list: for each entry its key, then the entry, each after its length.
    RecordChunks records_;
    std::size_t entryBytes_ = 0;
    std::string key_;  // reused from entry to entry
};

}  // namespace quarnel
