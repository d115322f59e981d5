// The output text of a drop. A text built entry by entry is kept in chunks of a few megabytes, so
// no buffer grows by copying itself as a list of a million names is built; a sorted list's text
// is made as it is read, from the entries in their order, so it is never held twice. Whoever
// needs the text whole (the clipboard) copies it out; a stream takes the pieces as they come.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarnel {

// A text made as it is read.
class TextPieces {
public:
    virtual ~TextPieces() = default;
    virtual std::size_t Size() const = 0;
    // Calls visit with the text, in order, piece by piece; a character may be cut between two.
    virtual void ForEachPiece(const std::function<void(std::string_view)>& visit) const = 0;
};

class OutputText {
public:
    OutputText() = default;
    explicit OutputText(std::unique_ptr<const TextPieces> made) : made_(std::move(made)) {}

    // Adds bytes to a text built in memory (not to one made as it is read).
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
    std::size_t Size() const { return made_ ? made_->Size() : size_; }
    // Calls visit with the text, in order, piece by piece; a character may be cut between two.
    void ForEachPiece(const std::function<void(std::string_view)>& visit) const {
        if (made_) {
            made_->ForEachPiece(visit);
            return;
        }
        for (const std::string& chunk : chunks_) visit(chunk);
    }
    // The whole text in one piece of its exact size.
    std::string Joined() const {
        std::string text;
        text.reserve(Size());
        ForEachPiece([&](std::string_view piece) { text += piece; });
        return text;
    }

private:
    static constexpr std::size_t cChunkBytes = 4 * 1024 * 1024;

    std::vector<std::string> chunks_;
    std::size_t size_ = 0;
    std::unique_ptr<const TextPieces> made_;
};

}  // namespace quarnel
