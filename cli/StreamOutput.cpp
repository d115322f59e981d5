#include "StreamOutput.hpp"

namespace quarnel {

std::string WithLineEnds(std::string_view text, std::string_view lineEnd) {
    std::string ended;
    ended.reserve(text.size());
    for (const char c : text) {
        if (c == '\n') {
            ended += lineEnd;
        } else {
            ended += c;
        }
    }
    return ended;
}

void StreamMsgBox::Show(std::string_view prompt, int /*buttonsAndIcon*/, std::string_view title) {
    ++shownCount_;
    err_ << title << ": ";
    for (const char c : prompt) err_ << (c == '\r' ? '\n' : c);
    err_ << '\n' << std::flush;
}

bool StreamClipboard::SetText(const OutputText& text) {
    text.ForEachPiece([&](std::string_view piece) {
        out_.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    });
    out_.flush();
    written_ = written_ && out_.good();
    return true;
}

}  // namespace quarnel
