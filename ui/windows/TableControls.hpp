// The controls of a window built from its control table: made in tab order, because the dialog
// manager tabs through a window's children in the order they were made, and placed from the
// table's twips at the window's dpi, a control inside a frame at the frame's place plus its own.
// The controls are children of the window itself, also those inside a frame: a group box passes
// no WM_COMMAND on to its parent.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "StartupCalls.hpp"
#include "WinHandles.hpp"
#include "platform/windows/support/NativeWindow.hpp"
#include "ui/ControlTable.hpp"
#include "ui/Geometry.hpp"

namespace quarnel {

using PixelRect = PixelArea;

// The control's place in its window's client area.
PixelRect ClientPixelRect(std::span<const ControlRow> table, const ControlRow& control, double dpi);

// Controls that take no focus first, then by tab index.
std::vector<const ControlRow*> CreationOrder(std::span<const ControlRow> table);

// A child control of one of the system's window classes, with the caption's "&" as accelerator;
// nullptr when it could not be made.
NativeWindow CreateChildControl(StartupCalls& calls, NativeWindow parent, const wchar_t* className,
                                std::string_view caption, unsigned long style, int id);

// The whole window's place for a client area at client, with the window's own styles.
PixelRect WindowRectForClient(NativeWindow window, PixelRect client, unsigned monitorDpi);

// Moves and sizes the window so that its client area covers client.
void PlaceClientArea(NativeWindow window, PixelRect client, unsigned monitorDpi);

// The answer to WM_DPICHANGED: the window keeps the place Windows suggests (lParam) for the
// monitor the user moved it to and takes the size of a client area of clientSize at the new dpi.
void PlaceAtSuggestedRect(NativeWindow window, std::intptr_t suggestedRect, PixelRect clientSize,
                          unsigned monitorDpi);

class TableControls {
public:
    explicit TableControls(std::span<const ControlRow> table);

    // Makes each control with create, in creation order.
    void Build(const std::function<NativeWindow(const ControlRow&)>& create);

    // Moves every control to its place at dpi and gives it the font.
    void Place(double dpi, HFONT__* font) const;

    // The control made for this row; the parent window owns it.
    NativeWindow Find(const ControlRef& control) const;

private:
    std::span<const ControlRow> table_;
    std::vector<NativeWindow> windows_;  // by table row
};

}  // namespace quarnel
