#include "EntryList.hpp"

#include <algorithm>
#include <future>
#include <numeric>
#include <system_error>

namespace quarnel {

void EntryList::Add(std::string_view entry) {
    ++count_;
    if (!sorted_) {
        text_.Append(entry);
        text_.Append("\r\n");
        return;
    }
    bytes_.append(entry);
    ends_.push_back(bytes_.size());
}

void EntryList::Clear() {
    // Give the memory back: the next drop may be small, and this one may have been huge.
    count_ = 0;
    text_ = {};
    std::string().swap(bytes_);
    std::vector<std::size_t>().swap(ends_);
}

std::string_view EntryList::At(std::size_t index) const {
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(bytes_).substr(begin, ends_[index] - begin);
}

std::vector<std::size_t> EntryList::OrderOfEntries(const TextRules& rules, PacedYield& pace) const {
    std::vector<std::size_t> order(Count());
    std::iota(order.begin(), order.end(), std::size_t{0});

    std::string keys;
    keys.reserve(bytes_.size() * 2);
    std::vector<std::size_t> keyEnds;
    keyEnds.reserve(Count());
    for (std::size_t index = 0; index < Count(); ++index) {
        rules.AppendCollationKey(At(index), keys);
        keyEnds.push_back(keys.size());
        pace.Step();
    }
    const auto keyOf = [&](std::size_t index) {
        const std::size_t begin = index == 0 ? 0 : keyEnds[index - 1];
        return std::string_view(keys).substr(begin, keyEnds[index] - begin);
    };
    const auto sort = [&] {
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return keyOf(a) < keyOf(b); });
    };
    // The sort takes its time in one piece: on a thread of its own, while the event loop runs
    // here. Where no thread is to be had, it runs here.
    std::future<void> sorted;
    try {
        sorted = std::async(std::launch::async, sort);
    } catch (const std::system_error&) {
        sort();
        return order;
    }
    while (sorted.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        pace.Now();
    }
    sorted.get();
    return order;
}

OutputText EntryList::TakeText(const TextRules& rules, PacedYield& pace) {
    OutputText text;
    if (!sorted_) {
        text = std::move(text_);
    } else {
        for (const std::size_t index : OrderOfEntries(rules, pace)) {
            text.Append(At(index));
            text.Append("\r\n");
            pace.Step();
        }
    }
    Clear();
    return text;
}

}  // namespace quarnel
