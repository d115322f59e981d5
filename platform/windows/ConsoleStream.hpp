// Text for a console window: a stream buffer that takes UTF-8 and writes it with WriteConsoleW,
// so every character shows whatever the console's code page. Bytes written through the C
// runtime would be read in that code page, and umlauts would come out garbled. A character
// whose bytes arrive in two writes is held back until it is whole.
#pragma once

#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace quarnel {

class ConsoleStreamBuf final : public std::streambuf {
public:
    // The console behind standard output or standard error (STD_OUTPUT_HANDLE,
    // STD_ERROR_HANDLE), or nothing when that is a file or a pipe.
    static std::unique_ptr<ConsoleStreamBuf> ForStandardHandle(unsigned long which);

    explicit ConsoleStreamBuf(void* console) : console_(console) {}
    ~ConsoleStreamBuf() override { sync(); }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    void* console_;  // the process's, not closed here
    std::string pending_;
};

// Points stream at buffer while it lives, when there is a buffer; the stream is flushed and
// gets its own buffer back at the end.
class StreamRedirect {
public:
    StreamRedirect(std::ostream& stream, std::streambuf* buffer)
        : stream_(stream), previous_(buffer != nullptr ? stream.rdbuf(buffer) : nullptr) {}
    ~StreamRedirect() {
        if (previous_ == nullptr) return;
        stream_.flush();
        stream_.rdbuf(previous_);
    }
    StreamRedirect(const StreamRedirect&) = delete;
    StreamRedirect& operator=(const StreamRedirect&) = delete;

private:
    std::ostream& stream_;
    std::streambuf* previous_;
};

}  // namespace quarnel
