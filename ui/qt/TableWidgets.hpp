// Helpers for windows built from a control table: each widget's name, its place in pixels, and
// the tab order by the table's tab indexes.
#pragma once

#include <QRect>
#include <QString>
#include <span>
#include <string_view>

#include "ui/ControlTable.hpp"

class QWidget;

namespace quarnel {

QString FromUtf8(std::string_view text);

// "Name(index)" for an element of a control array, "Name" for a single control.
QString ObjectName(const ControlRow& control);

// A rectangle given in twips, in pixels for the window's scale factor.
QRect PixelRect(int left, int top, int width, int height, double scaleFactor);

// Chains the widgets in the order given, skipping empty places and widgets that take no focus.
void SetTabOrderByIndex(std::span<QWidget* const> widgetsByTabIndex);

}  // namespace quarnel
