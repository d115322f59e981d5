#include "EntryList.hpp"

#include <algorithm>
#include <numeric>

namespace quarnel {

std::vector<std::size_t> EntryList::OrderOfEntries(const TextRules& rules) const {
    std::vector<std::size_t> order(entries_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (!sorted_) return order;

    std::vector<std::string> keys;
    keys.reserve(entries_.size());
    for (const auto& entry : entries_) keys.push_back(rules.collationKey(entry));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

std::string EntryList::OutputText(const TextRules& rules) const {
    std::size_t length = 0;
    for (const auto& entry : entries_) length += entry.size() + 2;

    std::string text;
    text.reserve(length);
    for (const std::size_t index : OrderOfEntries(rules)) {
        text += entries_[index];
        text += "\r\n";
    }
    return text;
}

}  // namespace quarnel
