#include "RecordChunks.hpp"

#include <algorithm>
#include <stdexcept>

namespace quarnel {
namespace {

constexpr std::size_t cChunkBytes = 4 * 1024 * 1024;

}  // namespace

RecordChunks::Place RecordChunks::Append(std::size_t size) {
    if (size > UINT32_MAX) throw std::length_error("record too long");
    if (chunks_.empty() || chunks_.back().capacity - chunks_.back().used < size) {
        // Left uninitialised: a chunk's pages cost memory only once they are written.
        const std::size_t capacity = std::max(cChunkBytes, size);
        chunks_.push_back({std::unique_ptr<char[]>(new char[capacity]), capacity, 0});
    }
    Held& chunk = chunks_.back();
    const Place place = (static_cast<Place>(chunks_.size() - 1) << 32) | chunk.used;
    chunk.used += size;
    return place;
}

void RecordChunks::GiveBack(std::size_t chunk) { chunks_[chunk] = {nullptr, 0, 0}; }

}  // namespace quarnel
