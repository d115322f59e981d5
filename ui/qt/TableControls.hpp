// Helpers for windows built from a control table: each widget's name, its place in pixels, its
// container, and the tab order by the table's tab indexes.
#pragma once

#include <QRect>
#include <QString>
#include <functional>
#include <span>
#include <string_view>

#include "ui/ControlTable.hpp"

class QWidget;

namespace quarnel {

QString FromUtf8(std::string_view text);

// A rectangle given in twips, in pixels for the window's scale factor.
QRect PixelRect(int left, int top, int width, int height, double scaleFactor);

// The widget the control stands in: the window itself, or the frame the table names.
QWidget* ContainerOf(const ControlRow& control, QWidget& window);

// Makes every control of the table with create, in table order, then names it ("Name(index)"
// for an element of a control array), places it and chains the tab order by tab index,
// skipping controls that take no focus.
void BuildControlsFromTable(std::span<const ControlRow> table, double scaleFactor,
                            const std::function<QWidget*(const ControlRow&)>& create);

}  // namespace quarnel
