#include "EntryList.hpp"

#include <algorithm>
#include <numeric>

namespace quarnel {

void EntryList::Clear() {
    // Give the memory back: the next drop may be small, and this one may have been huge.
    std::string().swap(bytes_);
    std::vector<std::size_t>().swap(ends_);
}

std::string_view EntryList::At(std::size_t index) const {
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(bytes_).substr(begin, ends_[index] - begin);
}

std::vector<std::size_t> EntryList::OrderOfEntries(const TextRules& rules) const {
    std::vector<std::size_t> order(Count());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (!sorted_) return order;

    std::string keys;
    keys.reserve(bytes_.size() * 2);
    std::vector<std::size_t> keyEnds;
    keyEnds.reserve(Count());
    for (std::size_t index = 0; index < Count(); ++index) {
        rules.AppendCollationKey(At(index), keys);
        keyEnds.push_back(keys.size());
    }
    const auto keyOf = [&](std::size_t index) {
        const std::size_t begin = index == 0 ? 0 : keyEnds[index - 1];
        return std::string_view(keys).substr(begin, keyEnds[index] - begin);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keyOf(a) < keyOf(b); });
    return order;
}

std::string EntryList::OutputText(const TextRules& rules) const {
    const std::vector<std::size_t> order = OrderOfEntries(rules);
    std::string text;
    text.reserve(bytes_.size() + 2 * Count());
    for (const std::size_t index : order) {
        text += At(index);
        text += "\r\n";
    }
    return text;
}

}  // namespace quarnel
