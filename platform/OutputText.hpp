// The output text of a drop, kept in chunks of a few megabytes: no buffer grows by copying itself
// as a list of a million names is built, and the text is copied out whole only by whoever needs
// it whole (the clipboard), while a stream takes the chunks as they are.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

class OutputText {
public:
    void Append(std::string_view bytes) {
        size_ += bytes.size();
        while (!bytes.empty()) {
            if (chunks_.empty() || chunks_.back().size() == cChunkBytes) {
                chunks_.emplace_back();
                chunks_.back().reserve(cChunkBytes);
            }
            std::string& chunk = chunks_.back();
            const std::size_t fits = std::min(bytes.size(), cChunkBytes - chunk.size());
            chunk.append(bytes.substr(0, fits));
            bytes.remove_prefix(fits);
        }
    }
    std::size_t Size() const { return size_; }
    // The text, in order; a character may be cut between two chunks.
    const std::vector<std::string>& Chunks() const { return chunks_; }
    // The whole text in one piece of its exact size.
    std::string Joined() const {
        std::string text;
        text.reserve(size_);
        for (const std::string& chunk : chunks_) text += chunk;
        return text;
    }

private:
    static constexpr std::size_t cChunkBytes = 4 * 1024 * 1024;

    std::vector<std::string> chunks_;
    std::size_t size_ = 0;
};

}  // namespace quarnel
