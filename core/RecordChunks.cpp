#include "RecordChunks.hpp"

#include <algorithm>
#include <stdexcept>

namespace quarnel {
RecordChunks::Place RecordChunks::Append(std::size_t size) {
    if (chunks_.empty() || chunks_.back().capacity - chunks_.back().used < size) {
        if (chunks_.size() >> (cPlaceBits - cOffsetBits) != 0)
            throw std::length_error("too many records");
        // Left uninitialised: a chunk's pages cost memory only once they are written.
        const std::size_t capacity = std::max(cChunkBytes, size);
        chunks_.push_back({std::unique_ptr<char[]>(new char[capacity]), capacity, 0});
    }
    Held& chunk = chunks_.back();
    // A record larger than a chunk has one of its own and lies at its start.
    const Place place = PlaceIn(chunks_.size() - 1, chunk.used);
    chunk.used += size;
    return place;
}

void RecordChunks::GiveBack(std::size_t chunk) { chunks_[chunk] = {nullptr, 0, 0}; }

}  // namespace quarnel
