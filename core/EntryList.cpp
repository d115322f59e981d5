#include "EntryList.hpp"

#include <algorithm>
#include <future>
#include <system_error>
#include <utility>
#include <vector>

namespace quarnel {
namespace {

using Place = RecordChunks::Place;

// A length takes one byte below 128, and one more for each further 7 bits.
std::size_t LengthBytes(std::size_t length) {
    std::size_t bytes = 1;
    for (; length >= 0x80; length >>= 7) ++bytes;
    return bytes;
}

char* WriteLength(char* out, std::size_t length) {
    for (; length >= 0x80; length >>= 7) *out++ = static_cast<char>((length & 0x7F) | 0x80);
    *out++ = static_cast<char>(length);
    return out;
}

// Reads the length at in and the bytes it counts; in is left behind them.
std::string_view ReadCounted(const char*& in) {
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*in++);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (byte < 0x80) break;
    }
    const std::string_view counted(in, length);
    in += length;
    return counted;
}

struct Record {
    std::string_view key;
    std::string_view entry;
};

Record ReadRecord(const char* in) {
    const std::string_view key = ReadCounted(in);
    return {key, ReadCounted(in)};
}

// The sorted list's text: its entries in their order, made a block at a time as it is read.
// Reading it lets the event loop run at its pace, as taking the list out did.
class SortedText final : public TextPieces {
public:
    SortedText(RecordChunks records, std::vector<Place> order, std::size_t size,
               const PacedYield& pace)
        : records_(std::move(records)), order_(std::move(order)), size_(size), pace_(pace) {}

    std::size_t Size() const override { return size_; }

    void ForEachPiece(const std::function<void(std::string_view)>& visit) const override {
        constexpr std::size_t cBlockBytes = 64 * 1024;
        // The entries lie scattered over the records: asking for those a few places ahead
        // early lets their reads overlap.
        constexpr std::size_t cAhead = 16;
        std::string block;
        block.reserve(cBlockBytes);
        for (std::size_t index = 0; index < order_.size(); ++index) {
            if (index + cAhead < order_.size()) {
                __builtin_prefetch(records_.At(order_[index + cAhead]));
            }
            const std::string_view entry = ReadRecord(records_.At(order_[index])).entry;
            if (block.size() + entry.size() + 2 > cBlockBytes) {
                visit(block);
                block.clear();
            }
            if (entry.size() + 2 > cBlockBytes) {
                visit(entry);
            } else {
                block += entry;
            }
            block += "\r\n";
            pace_.Step();
        }
        if (!block.empty()) visit(block);
    }

private:
    RecordChunks records_;
    std::vector<Place> order_;
    std::size_t size_;
    mutable PacedYield pace_;
};

// The places of all records, in the order they were appended.
std::vector<Place> PlacesOf(const RecordChunks& records, std::size_t count) {
    std::vector<Place> places;
    places.reserve(count);
    for (std::size_t chunk = 0; chunk < records.ChunkCount(); ++chunk) {
        const std::string_view bytes = records.Chunk(chunk);
        const char* in = bytes.data();
        while (in != bytes.data() + bytes.size()) {
            places.push_back(static_cast<Place>(chunk) << 32 |
                             static_cast<Place>(in - bytes.data()));
            ReadCounted(in);
            ReadCounted(in);
        }
    }
    return places;
}

// Ranks by key; equal keys keep arrival order, which is the order of their places.
void SortByKey(const RecordChunks& records, std::vector<Place>& order) {
    std::sort(order.begin(), order.end(), [&](Place a, Place b) {
        const int compared = ReadRecord(records.At(a)).key.compare(ReadRecord(records.At(b)).key);
        return compared != 0 ? compared < 0 : a < b;
    });
}

}  // namespace

void EntryList::Add(std::string_view entry) {
    ++count_;
    if (!sorted_) {
        text_.Append(entry);
        text_.Append("\r\n");
        return;
    }
    key_.clear();
    rules_.AppendCollationKey(entry, key_);
    char* out = records_.At(records_.Append(LengthBytes(key_.size()) + key_.size() +
                                            LengthBytes(entry.size()) + entry.size()));
    out = std::copy(key_.begin(), key_.end(), WriteLength(out, key_.size()));
    std::copy(entry.begin(), entry.end(), WriteLength(out, entry.size()));
    entryBytes_ += entry.size();
}

void EntryList::Clear() {
    // Give the memory back: the next drop may be small, and this one may have been huge.
    count_ = 0;
    text_ = {};
    records_.Clear();
    entryBytes_ = 0;
}

OutputText EntryList::TakeText(PacedYield& pace) {
    if (!sorted_) {
        OutputText text = std::move(text_);
        Clear();
        return text;
    }
    std::vector<Place> order = PlacesOf(records_, count_);
    // The sort takes its time in one piece: on a thread of its own, while the event loop runs
    // here. Where no thread is to be had, it runs here.
    const auto sort = [&] { SortByKey(records_, order); };
    std::future<void> sorted;
    try {
        sorted = std::async(std::launch::async, sort);
    } catch (const std::system_error&) {
        sort();
    }
    if (sorted.valid()) {
        while (sorted.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
            pace.Now();
        }
        sorted.get();
    }
    OutputText text(std::make_unique<SortedText>(std::move(records_), std::move(order),
                                                 entryBytes_ + 2 * count_, pace));
    Clear();
    return text;
}

}  // namespace quarnel
