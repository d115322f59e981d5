#include "EntryList.hpp"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace quarnel {
namespace {

using Place = RecordChunks::Place;

constexpr int cPlaceBits = RecordChunks::cPlaceBits;
constexpr std::size_t cDigitBytes = 8;

// An entry as the sort moves it: eight bytes of its key as a number, missing ones as 0, then how
// many of them the key has (9 when it goes on beyond them) above the entry's place. Sorting by the
// two numbers ranks by those bytes, a key that ends first before one that goes on, then by
// arrival.
struct Ranked {
    std::uint64_t digit;
    std::uint64_t lengthAndPlace;

    Place PlaceOf() const { return lengthAndPlace & ((std::uint64_t{1} << cPlaceBits) - 1); }
    std::uint64_t Length() const { return lengthAndPlace >> cPlaceBits; }
    bool operator<(const Ranked& other) const {
        return digit != other.digit ? digit < other.digit : lengthAndPlace < other.lengthAndPlace;
    }
};

// Sets the digit of ranked to the bytes of key from `from` on.
void SetDigit(Ranked& ranked, std::string_view key, std::size_t from) {
    std::uint64_t digit = 0;
    for (std::size_t i = from; i < from + cDigitBytes; ++i) {
        digit = digit << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    }
    const std::uint64_t length = key.size() > from + cDigitBytes ? cDigitBytes + 1
                                 : key.size() > from             ? key.size() - from
                                                                 : 0;
    ranked.digit = digit;
    ranked.lengthAndPlace = length << cPlaceBits | ranked.PlaceOf();
}

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

// The records lie scattered: asking for the one a few entries ahead early lets their reads
// overlap.
void PrefetchAhead(const RecordChunks& records, const std::vector<Ranked>& order, std::size_t index,
                   std::size_t end) {
    constexpr std::size_t cAhead = 16;
    if (index + cAhead < end) __builtin_prefetch(records.At(order[index + cAhead].PlaceOf()));
}

// The sorted list's text: its entries in their order, made a block at a time as it is read.
class SortedText final : public TextPieces {
public:
    SortedText(RecordChunks records, std::vector<Ranked> order, std::size_t size)
        : records_(std::move(records)), order_(std::move(order)), size_(size) {}

    std::size_t Size() const override { return size_; }

    void ForEachPiece(const std::function<void(std::string_view)>& visit) const override {
        constexpr std::size_t cBlockBytes = 64 * 1024;
        std::string block;
        block.reserve(cBlockBytes);
        for (std::size_t index = 0; index < order_.size(); ++index) {
            PrefetchAhead(records_, order_, index, order_.size());
            const std::string_view entry = ReadRecord(records_.At(order_[index].PlaceOf())).entry;
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
        }
        if (!block.empty()) visit(block);
    }

private:
    RecordChunks records_;
    std::vector<Ranked> order_;
    std::size_t size_;
};

// All records, in the order they were appended, with the first digits of their keys.
std::vector<Ranked> RecordsOf(const RecordChunks& records, std::size_t count) {
    std::vector<Ranked> ranked;
    ranked.reserve(count);
    for (std::size_t chunk = 0; chunk < records.ChunkCount(); ++chunk) {
        const std::string_view bytes = records.Chunk(chunk);
        const char* in = bytes.data();
        while (in != bytes.data() + bytes.size()) {
            ranked.push_back({0, RecordChunks::PlaceIn(chunk, in - bytes.data())});
            SetDigit(ranked.back(), ReadCounted(in), 0);
            ReadCounted(in);
        }
    }
    return ranked;
}

// Ranks by key, eight bytes at a time: all entries by the first eight, then each run that agrees
// on them and goes on beyond them by the next eight, and so on. So the records are looked at
// once per entry and round, not at every comparison. Equal keys keep arrival order.
void SortByKey(const RecordChunks& records, std::vector<Ranked>& order) {
    struct Run {
        std::size_t begin;
        std::size_t end;
        std::size_t from;  // the key bytes before it agree throughout the run
    };
    std::vector<Run> runs{{0, order.size(), 0}};
    while (!runs.empty()) {
        const Run run = runs.back();
        runs.pop_back();
        if (run.from != 0) {
            for (std::size_t i = run.begin; i < run.end; ++i) {
                PrefetchAhead(records, order, i, run.end);
                SetDigit(order[i], ReadRecord(records.At(order[i].PlaceOf())).key, run.from);
            }
        }
        std::sort(order.begin() + static_cast<std::ptrdiff_t>(run.begin),
                  order.begin() + static_cast<std::ptrdiff_t>(run.end));
        for (std::size_t first = run.begin; first < run.end;) {
            std::size_t last = first + 1;
            while (last < run.end && order[last].digit == order[first].digit &&
                   order[last].Length() == order[first].Length()) {
                ++last;
            }
            if (last - first > 1 && order[first].Length() > cDigitBytes) {
                runs.push_back({first, last, run.from + cDigitBytes});
            }
            first = last;
        }
    }
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

OutputText EntryList::TakeText() {
    if (!sorted_) {
        OutputText text = std::move(text_);
        Clear();
        return text;
    }
    std::vector<Ranked> order = RecordsOf(records_, count_);
    SortByKey(records_, order);
    OutputText text(std::make_unique<SortedText>(std::move(records_), std::move(order),
                                                 entryBytes_ + 2 * count_));
    Clear();
    return text;
}

}  // namespace quarnel
