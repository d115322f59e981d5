#include "DialogFont.hpp"

#include <windows.h>

#include "ui/Geometry.hpp"

namespace quarnel {
namespace {

LOGFONTW MessageFont(unsigned dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    }
    return metrics.lfMessageFont;
}

// The screen's device context, released on every way out.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

}  // namespace

DialogFont::DialogFont(unsigned dpi) {
    const LOGFONTW font = MessageFont(dpi);
    font_.reset(CreateFontIndirectW(&font));
}

double MessageFontAverageCharWidth() {
    static constexpr wchar_t cLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    constexpr int cLetterCount = static_cast<int>(std::size(cLetters)) - 1;
    const DialogFont font(static_cast<unsigned>(cReferenceDpi));
    const ScreenDc screen;
    const HGDIOBJ previous = SelectObject(screen.Get(), font.Get());
    SIZE extent{};
    const bool measured = GetTextExtentPoint32W(screen.Get(), cLetters, cLetterCount, &extent);
    SelectObject(screen.Get(), previous);
    if (!measured) return cReferenceAverageCharWidth;
    return static_cast<double>(extent.cx) / cLetterCount;
}

double TableDpi(unsigned monitorDpi) {
    return monitorDpi * FontScaleFactor(MessageFontAverageCharWidth());
}

}  // namespace quarnel
