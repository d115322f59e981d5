#include "ConsoleStream.hpp"

#include <windows.h>

#include <algorithm>

#include "support/WideText.hpp"

namespace quarnel {
namespace {

// Held back until this much has gathered or the stream is flushed.
constexpr std::size_t cBufferSize = 8192;
// WriteConsoleW takes at most this many characters at once on older Windows.
constexpr std::size_t cMostPerWrite = 8192;

// The length of text's whole UTF-8 characters: all of it, unless it ends inside one.
std::size_t WholeCharactersLength(std::string_view text) {
    std::size_t lead = text.size();
    std::size_t following = 0;
    while (lead > 0 && following < 3 &&
           (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80) {
        --lead;
        ++following;
    }
    if (lead == 0) return text.size();
    const auto first = static_cast<unsigned char>(text[lead - 1]);
    const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    return following + 1 < length ? lead - 1 : text.size();
}

}  // namespace

std::unique_ptr<ConsoleStreamBuf> ConsoleStreamBuf::ForStandardHandle(unsigned long which) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
        return nullptr;
    }
    return std::make_unique<ConsoleStreamBuf>(handle);
}

ConsoleStreamBuf::int_type ConsoleStreamBuf::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char character = traits_type::to_char_type(c);
    return xsputn(&character, 1) == 1 ? c : traits_type::eof();
}

std::streamsize ConsoleStreamBuf::xsputn(const char* text, std::streamsize count) {
    pending_.append(text, static_cast<std::size_t>(count));
    if (pending_.size() >= cBufferSize && sync() != 0) return 0;
    return count;
}

int ConsoleStreamBuf::sync() {
    const std::size_t whole = WholeCharactersLength(pending_);
    const std::wstring wide = WideFromUtf8(std::string_view(pending_).substr(0, whole));
    pending_.erase(0, whole);
    for (std::size_t at = 0; at < wide.size();) {
        auto count = static_cast<DWORD>(std::min(wide.size() - at, cMostPerWrite));
        // a surrogate pair stays together
        if (at + count < wide.size() && IS_HIGH_SURROGATE(wide[at + count - 1])) --count;
        DWORD written = 0;
        if (!WriteConsoleW(console_, wide.data() + at, count, &written, nullptr) || written == 0) {
            return -1;
        }
        at += written;
    }
    return 0;
}

}  // namespace quarnel
