// A large folder on ext4 is kept as a tree of its names' hashes and listed in hash order, and
// the place a listing stands at is the hash of the name it gives next. So a second reader can
// list the upper half of the hashes, from the middle on, while the first lists the lower half:
// the lower half followed by the upper is exactly the order of one listing, and the kernel's
// part of the time, most of it, is halved where two cores are at hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "FileDescriptor.hpp"

namespace quarnel {

class UpperHalfListing {
public:
    // Where the upper half begins.
    static constexpr std::uint64_t cMiddle = std::uint64_t{0x40000000} << 32;

    // Starts listing the upper half of folder on a thread of its own when folder is a large
    // hash-tree folder on ext4, the lower listing stands at place, short of the middle, and a
    // thread is to be had; otherwise does nothing.
    UpperHalfListing(int folder, std::uint64_t place);
    ~UpperHalfListing();
    UpperHalfListing(const UpperHalfListing&) = delete;
    UpperHalfListing& operator=(const UpperHalfListing&) = delete;

    bool Started() const { return reader_.joinable(); }
    // Waits for the upper half; false when it could not be listed completely, or not as a
    // hash-tree listing lists. Then it is to be listed as part of the lower one.
    bool Finish();
    // The upper half's records as the kernel gave them (dirent64), in order; after Finish.
    template <typename Visit>
    void ForEachRecord(Visit&& visit) const {
        for (const Block& block : blocks_) {
            for (std::size_t offset = 0; offset < block.used;) {
                const char* record = block.bytes.get() + offset;
                offset += RecordLength(record);
                visit(record);
            }
        }
    }

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t used;
    };
    static std::size_t RecordLength(const char* record);
    void Read();

    FileDescriptor upper_;
    std::vector<Block> blocks_;
    bool complete_ = false;
    std::thread reader_;
};

}  // namespace quarnel
