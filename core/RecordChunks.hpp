// Records of bytes kept in chunks of a few megabytes. A record never straddles two chunks, so
// each stays one piece, and growing never copies what is already kept: a million names cost
// their bytes, without the doubled buffer and the copy a growing string costs on its way up.
// Whoever reads the records in order can give each chunk back behind it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace quarnel {

class RecordChunks {
public:
    // Where a record lies: its chunk, then its offset in the chunk. Places grow in the order the
    // records were appended, and take at most cPlaceBits bits.
    using Place = std::uint64_t;
    static constexpr int cPlaceBits = 48;

    // Room for a record of size bytes, to be written through At(place) before the next call.
    Place Append(std::size_t size);
    char* At(Place place) { return chunks_[place >> cOffsetBits].bytes.get() + Offset(place); }
    const char* At(Place place) const {
        return chunks_[place >> cOffsetBits].bytes.get() + Offset(place);
    }

    std::size_t ChunkCount() const { return chunks_.size(); }
    // The place of the record that begins at offset in chunk.
    static Place PlaceIn(std::size_t chunk, std::size_t offset) {
        return static_cast<Place>(chunk) << cOffsetBits | offset;
    }
    // The records of chunk, back to back; empty once the chunk is given back.
    std::string_view Chunk(std::size_t chunk) const {
        return {chunks_[chunk].bytes.get(), chunks_[chunk].used};
    }
    void GiveBack(std::size_t chunk);
    // Gives every chunk back.
    void Clear() { std::vector<Held>().swap(chunks_); }

private:
    static constexpr int cOffsetBits = 22;
    // A chunk holds this much, or one record that is larger.
    static constexpr std::size_t cChunkBytes = std::size_t{1} << cOffsetBits;

    static std::size_t Offset(Place place) { return place & (cChunkBytes - 1); }

    struct Held {
        std::unique_ptr<char[]> bytes;
        std::size_t capacity;
        std::size_t used;
    };
    std::vector<Held> chunks_;
};

}  // namespace quarnel
