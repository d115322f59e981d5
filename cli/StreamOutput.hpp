// The message box and the clipboard of the command line: messages go to the error stream with
// the title in front, the text goes to the output stream unchanged; and the line end of the
// command's own lines.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "platform/Clipboard.hpp"
#include "platform/MsgBox.hpp"

namespace quarnel {

// text with each LF as lineEnd.
std::string WithLineEnds(std::string_view text, std::string_view lineEnd);

class StreamMsgBox final : public MsgBox {
public:
    explicit StreamMsgBox(std::ostream& err) : err_(err) {}
    // Each CR of the prompt becomes a line break.
    void Show(std::string_view prompt, int buttonsAndIcon, std::string_view title) override;
    int ShownCount() const { return shownCount_; }

private:
    std::ostream& err_;
    int shownCount_ = 0;
};

class StreamClipboard final : public Clipboard {
public:
    explicit StreamClipboard(std::ostream& out) : out_(out) {}
    // Always true: a stream that refuses some of the text is the command's to report, in
    // its own words.
    bool SetText(const OutputText& text) override;
    // False when the stream refused some of the text.
    bool Written() const { return written_; }

private:
    std::ostream& out_;
    bool written_ = true;
};

}  // namespace quarnel
